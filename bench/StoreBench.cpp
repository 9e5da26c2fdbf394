// Benchmarks of the store through the library's own proxies: integer and string
// reads and writes of every key of a file, in document order (integer reads also
// shuffled), and a list count.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "AccessLibraryBaseCpp.h"
#include "BenchFixtures.h"
#include "KeyTreeStore.h"

namespace bench {
namespace {

using AccessLibraryBaseCpp::IntProxy;
using AccessLibraryBaseCpp::StringProxy;
using DicomAccessLibraryCpp::ValueKind;

// The longest list of the files: 300 errors in the base file, 3,000 in x10.
constexpr wchar_t kLongestList[] = L"/DicomErrorSetting/DicomError";

template <class Proxy>
std::shared_ptr<std::vector<Proxy>> BindProxies(const LoadedFixture& fixture, ValueKind kind,
                                                KeyOrder order) {
  auto proxies = std::make_shared<std::vector<Proxy>>();
  for (const FixtureKey* key : KeysOfKind(fixture.file, kind, order)) {
    proxies->emplace_back();
    if constexpr (std::is_same_v<Proxy, IntProxy>) {
      proxies->back().SetIntProxy(key->text.c_str(), fixture.file.widePath.c_str());
    } else {
      proxies->back().SetStringProxy(key->text.c_str(), fixture.file.widePath.c_str());
    }
  }
  return proxies;
}

}  // namespace

void RegisterStoreBenchmarks(LoadedFixture& fixture) {
  auto ints = BindProxies<IntProxy>(fixture, ValueKind::Integer, KeyOrder::Document);
  auto strings = BindProxies<StringProxy>(fixture, ValueKind::String, KeyOrder::Document);
  auto shuffled = BindProxies<IntProxy>(fixture, ValueKind::Integer, KeyOrder::Shuffled);
  const std::string& file = fixture.label;
  benchmark::RegisterBenchmark(
      BenchName("read_int_shuffled", "proxy", file).c_str(), [shuffled](auto& state) {
        Cycle(state, *shuffled,
              [](IntProxy& proxy) { benchmark::DoNotOptimize(static_cast<int>(proxy)); });
      });
  benchmark::RegisterBenchmark(BenchName("read_int", "proxy", file).c_str(), [ints](auto& state) {
    Cycle(state, *ints, [](IntProxy& proxy) { benchmark::DoNotOptimize(static_cast<int>(proxy)); });
  });
  benchmark::RegisterBenchmark(BenchName("read_string", "proxy", file).c_str(),
                               [strings](auto& state) {
                                 Cycle(state, *strings, [](StringProxy& proxy) {
                                   const std::wstring value = proxy;
                                   benchmark::DoNotOptimize(value.data());
                                 });
                               });
  benchmark::RegisterBenchmark(BenchName("write_int", "proxy", file).c_str(), [ints](auto& state) {
    int value = 0;
    Cycle(state, *ints, [&value](IntProxy& proxy) { proxy = ++value & 1023; });
  });
  benchmark::RegisterBenchmark(
      BenchName("write_string", "proxy", file).c_str(), [strings](auto& state) {
        Cycle(state, *strings, [](StringProxy& proxy) { proxy = L"1.2.392.200036.9116.2.6.1.48"; });
      });
  // One key read again and again: an integer of the last entry of the longest list.
  auto last = std::make_shared<std::vector<IntProxy>>(1);
  last->front().SetIntProxy(LastListKey(fixture.file)->text.c_str(), fixture.file.widePath.c_str());
  benchmark::RegisterBenchmark(BenchName("read_last", "proxy", file).c_str(), [last](auto& state) {
    Cycle(state, *last, [](IntProxy& proxy) { benchmark::DoNotOptimize(static_cast<int>(proxy)); });
  });
  const std::wstring path = fixture.file.widePath;
  benchmark::RegisterBenchmark(BenchName("count", "store", file).c_str(), [path](auto& state) {
    int count = 0;
    for (auto _ : state) {
      StoreGetNodeCount(&count, path.c_str(), kLongestList);
      benchmark::DoNotOptimize(count);
    }
    state.counters["entries"] = count;
  });
}

}  // namespace bench
