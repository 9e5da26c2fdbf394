// A service's start-up as one figure: open a settings file, construct all sixteen
// section classes on it, read every value they address once (lists up to their
// counts) and close; in turns with pugixml loading the file and walking to every
// one of those keys once. Each works on its own copy of the fixture file, which nothing
// else holds open, so that every round parses it.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "BenchFixtures.h"
#include "PeerAccess.h"
#include "SectionFramework.h"

namespace bench {
namespace {

using AccessLibraryBaseCpp::CAccessLibraryBaseCpp;
using DicomAccessLibraryCpp::ElementCore;
using DicomAccessLibraryCpp::ListField;
using DicomAccessLibraryCpp::SectionSchema;
using DicomAccessLibraryCpp::ValueField;
using DicomAccessLibraryCpp::ValueKind;

// Reads a proxy as its own type, as a service's code does.
void ReadValue(AccessLibraryBaseCpp::ProxyCore& proxy, ValueKind kind) {
  switch (kind) {
    case ValueKind::Integer:
      benchmark::DoNotOptimize(
          static_cast<int>(static_cast<DicomAccessLibraryCpp::IntProxy&>(proxy)));
      break;
    case ValueKind::FloatingPoint:
      benchmark::DoNotOptimize(
          static_cast<double>(static_cast<DicomAccessLibraryCpp::DoubleProxy&>(proxy)));
      break;
    case ValueKind::Boolean:
      benchmark::DoNotOptimize(
          static_cast<int>(static_cast<DicomAccessLibraryCpp::BoolProxy&>(proxy)));
      break;
    case ValueKind::String: {
      const std::wstring value = static_cast<DicomAccessLibraryCpp::StringProxy&>(proxy);
      benchmark::DoNotOptimize(value.data());
      break;
    }
  }
}

void ReadElement(ElementCore& element, const DicomAccessLibraryCpp::ElementSchema& schema) {
  for (int v = 0; v < schema.valueCount; ++v) {
    ReadValue(DicomAccessLibraryCpp::ElementValue(element, schema.values[v]),
              schema.values[v].kind);
  }
  for (int l = 0; l < schema.listCount; ++l) {
    const ListField& list = schema.lists[l];
    const int count = element.CountNested(list);
    for (int i = 0; i < count; ++i) {
      ReadElement(DicomAccessLibraryCpp::NestedElement(element, list, i), list.element());
    }
  }
}

void ReadSection(CAccessLibraryBaseCpp& section, const SectionSchema& schema,
                 const std::wstring& path) {
  for (int v = 0; v < schema.valueCount; ++v) {
    ReadValue(DicomAccessLibraryCpp::SectionValue(section, schema.values[v]),
              schema.values[v].kind);
  }
  for (int l = 0; l < schema.listCount; ++l) {
    const ListField& list = schema.lists[l];
    const int count = DicomAccessLibraryCpp::CountSectionList(path.c_str(), list);
    for (int i = 0; i < count; ++i) {
      ReadElement(DicomAccessLibraryCpp::SectionElement(section, list, i), list.element());
    }
  }
}

void StartService(benchmark::State& state, const std::wstring& path) {
  int count = 0;
  const SectionSchema* const* schemas = DicomAccessLibraryCpp::AllSections(&count);
  std::vector<CAccessLibraryBaseCpp*> sections(static_cast<size_t>(count));
  for (int s = 0; s < count; ++s) {
    sections[s] = schemas[s]->create(path.c_str());
    if (sections[s]->Open() != 0) state.SkipWithError("Open failed");
  }
  for (int s = 0; s < count; ++s) ReadSection(*sections[s], *schemas[s], path);
  for (int s = 0; s < count; ++s) {
    sections[s]->Close();
    schemas[s]->destroy(sections[s]);
  }
}

void LoadAndWalk(benchmark::State& state, const std::string& path,
                 const std::vector<const FixtureKey*>& keys) {
  pugi::xml_document document;
  if (!document.load_file(path.c_str())) state.SkipWithError("load_file failed");
  for (const FixtureKey* key : keys) {
    const pugi::xml_text text = WalkToNode(document, key->steps).text();
    switch (key->kind) {
      case ValueKind::Integer:
        benchmark::DoNotOptimize(text.as_int());
        break;
      case ValueKind::FloatingPoint:
        benchmark::DoNotOptimize(text.as_double());
        break;
      case ValueKind::Boolean:
      case ValueKind::String: {
        const std::string value = text.get();
        benchmark::DoNotOptimize(value.data());
        break;
      }
    }
  }
}

}  // namespace

void RegisterStartupBenchmarks(LoadedFixture& fixture) {
  const std::string copy = CopyFile(fixture.file.path, "startup-" + fixture.label + ".xml");
  auto keys = std::make_shared<std::vector<const FixtureKey*>>();
  for (const FixtureKey& key : fixture.file.keys) {
    if (key.addressed) keys->push_back(&key);
  }
  const std::wstring path(copy.begin(), copy.end());
  Repeated(
      benchmark::RegisterBenchmark(BenchName("startup", "sections_paired", fixture.label).c_str(),
                                   [=](auto& state) {
                                     Paired(
                                         state, [&] { StartService(state, path); },
                                         [&] { LoadAndWalk(state, copy, *keys); });
                                   }))
      ->Unit(benchmark::kMillisecond);
}

}  // namespace bench
