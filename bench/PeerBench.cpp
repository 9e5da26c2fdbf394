// Benchmarks of the same reads, writes and counts done with pugixml and
// Boost.PropertyTree directly on the same file: the measure the store's figures
// are compared with.
#include <benchmark/benchmark.h>

#include <memory>

#include "BenchFixtures.h"
#include "PeerAccess.h"

namespace bench {
namespace {

using DicomAccessLibraryCpp::ValueKind;
using Keys = std::shared_ptr<std::vector<const FixtureKey*>>;

constexpr char kStringValue[] = "1.2.392.200036.9116.2.6.1.48";

Keys KeysOf(const LoadedFixture& fixture, ValueKind kind, KeyOrder order) {
  return std::make_shared<std::vector<const FixtureKey*>>(KeysOfKind(fixture.file, kind, order));
}

void RegisterWalk(LoadedFixture& fixture, const std::string& operation, ValueKind kind,
                  KeyOrder order) {
  const Keys keys = KeysOf(fixture, kind, order);
  const bool integer = kind == ValueKind::Integer;
  const pugi::xml_document* dom = &fixture.dom;
  auto read = [=](benchmark::State& state) {
    Cycle(state, *keys, [&](const FixtureKey* key) {
      const pugi::xml_node node = WalkToNode(*dom, key->steps);
      if (integer) {
        benchmark::DoNotOptimize(node.text().as_int());
      } else {
        const std::string value = node.child_value();
        benchmark::DoNotOptimize(value.data());
      }
    });
  };
  benchmark::RegisterBenchmark(BenchName(operation, "pugixml_walk", fixture.label).c_str(), read);
}

void RegisterReads(LoadedFixture& fixture, const std::string& operation, ValueKind kind) {
  RegisterWalk(fixture, operation, kind, KeyOrder::Document);
  if (fixture.style != FixtureStyle::Ascii) return;  // the other peers on the plain files only
  const Keys keys = KeysOf(fixture, kind, KeyOrder::Document);
  const pugi::xml_document* dom = &fixture.dom;
  auto xpaths = std::make_shared<std::vector<std::string>>();
  for (const FixtureKey* key : *keys) xpaths->push_back(XPathOf("Settings", key->steps));
  auto query = [=](benchmark::State& state) {
    Cycle(state, *xpaths, [&](const std::string& xpath) {
      const std::string value = dom->select_node(xpath.c_str()).node().child_value();
      benchmark::DoNotOptimize(value.data());
    });
  };
  benchmark::RegisterBenchmark(BenchName(operation, "pugixml_xpath", fixture.label).c_str(), query);
  const boost::property_tree::ptree* tree = &fixture.tree;
  auto get = [=](benchmark::State& state) {
    Cycle(state, *keys, [&](const FixtureKey* key) {
      const std::string value = PropertyTreeValue(*tree, key->steps);
      benchmark::DoNotOptimize(value.data());
    });
  };
  benchmark::RegisterBenchmark(BenchName(operation, "property_tree", fixture.label).c_str(), get);
}

void RegisterWrites(LoadedFixture& fixture, const std::string& operation, ValueKind kind) {
  const Keys keys = KeysOf(fixture, kind, KeyOrder::Document);
  const bool integer = kind == ValueKind::Integer;
  pugi::xml_document* dom = &fixture.dom;
  auto write = [=](benchmark::State& state) {
    int value = 0;
    Cycle(state, *keys, [&](const FixtureKey* key) {
      pugi::xml_node node = WalkToNode(*dom, key->steps);
      if (integer) {
        node.text().set(++value & 1023);
      } else {
        node.text().set(kStringValue);
      }
    });
  };
  benchmark::RegisterBenchmark(BenchName(operation, "pugixml_walk_set", fixture.label).c_str(),
                               write);
}

}  // namespace

void RegisterPeerBenchmarks(LoadedFixture& fixture) {
  RegisterReads(fixture, "read_int", ValueKind::Integer);
  RegisterReads(fixture, "read_string", ValueKind::String);
  RegisterWalk(fixture, "read_int_shuffled", ValueKind::Integer, KeyOrder::Shuffled);
  RegisterWrites(fixture, "write_int", ValueKind::Integer);
  RegisterWrites(fixture, "write_string", ValueKind::String);
  const std::vector<KeyStep> last = LastListKey(fixture.file)->steps;
  const pugi::xml_document* dom = &fixture.dom;
  auto walkLast = [=](benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(WalkToNode(*dom, last).text().as_int());
  };
  benchmark::RegisterBenchmark(BenchName("read_last", "pugixml_walk", fixture.label).c_str(),
                               walkLast);
  const pugi::xml_node errors = fixture.dom.document_element().child("DicomErrorSetting");
  auto count = [errors](benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(CountChildren(errors, "DicomError"));
  };
  benchmark::RegisterBenchmark(BenchName("count", "pugixml_children", fixture.label).c_str(),
                               count);
}

}  // namespace bench
