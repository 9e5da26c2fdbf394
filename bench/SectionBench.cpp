// Benchmarks of the section classes: construction time and the heap bytes one
// object holds (against what fixed 260- and 512-character buffers per proxy and
// node key would hold), and assignment of one open CSpecificCharConv to another,
// which copies every one of its values from one file into the other.
#include <malloc.h>

#include "BenchFixtures.h"
#include "CSpecificCharConv.h"
#include "DicomSettings.h"

namespace bench {
namespace {

using DicomAccessLibraryCpp::ElementSchema;
using DicomAccessLibraryCpp::ListField;
using DicomAccessLibraryCpp::SectionSchema;

struct BufferCount {
  double proxies = 0;
  double nodeKeys = 0;
};

void CountLists(const ListField* lists, int count, double copies, BufferCount* total) {
  for (int l = 0; l < count; ++l) {
    const ElementSchema& element = lists[l].element();
    const double elements = copies * lists[l].capacity;
    total->nodeKeys += elements;
    total->proxies += elements * element.valueCount;
    CountLists(element.lists, element.listCount, elements, total);
  }
}

// Bytes that a 260-character path and a 512-character key per proxy, and a
// 512-character buffer per node key, would take.
double FixedBufferBytes(const SectionSchema& schema) {
  BufferCount count;
  count.proxies = schema.valueCount;
  CountLists(schema.lists, schema.listCount, 1, &count);
  return (count.proxies * (260 + 512) + count.nodeKeys * 512) * sizeof(wchar_t);
}

void Construct(benchmark::State& state, const SectionSchema* schema, const std::wstring& path) {
  for (auto _ : state) {
    auto* section = schema->create(path.c_str());
    benchmark::DoNotOptimize(section);
    schema->destroy(section);
  }
  const size_t before = LiveHeapBytes();
  auto* section = schema->create(path.c_str());
  // The object itself is on the heap too: only what it holds beyond itself counts.
  const size_t held = LiveHeapBytes() - before - malloc_usable_size(section);
  schema->destroy(section);
  state.counters["heap_bytes"] = static_cast<double>(held);
  state.counters["fixed_buffer_bytes"] = FixedBufferBytes(*schema);
}

}  // namespace

void RegisterSectionBenchmarks(const Fixture& base) {
  int count = 0;
  const SectionSchema* const* sections = DicomAccessLibraryCpp::AllSections(&count);
  for (int s = 0; s < count; ++s) {
    const SectionSchema* schema = sections[s];
    const std::wstring path = base.widePath;
    benchmark::RegisterBenchmark(BenchName("construct", schema->className, "base").c_str(),
                                 [=](auto& state) { Construct(state, schema, path); });
  }
  const std::string from = CopyFile(base.path, "assign-from.xml");
  const std::string to = CopyFile(base.path, "assign-to.xml");
  benchmark::RegisterBenchmark(
      BenchName("assign", "CSpecificCharConv", "base").c_str(),
      [=](auto& state) {
        DicomAccessLibraryCpp::CSpecificCharConv source(
            std::wstring(from.begin(), from.end()).c_str());
        DicomAccessLibraryCpp::CSpecificCharConv target(std::wstring(to.begin(), to.end()).c_str());
        if (source.Open() != 0 || target.Open() != 0) state.SkipWithError("Open failed");
        for (auto _ : state) target = source;
      })
      ->Unit(benchmark::kMicrosecond);
}

}  // namespace bench
