// The store on a local etcd cluster against the floor the same client library
// gives: opening the base settings file (about 3,000 values) against one raw
// range read of the prefix plus building the tree from it; saving one changed
// value against one raw single-key put, and with its change record against the
// same save without (DICOMSETTINGS_HISTORY_LIMIT=0); and the update check per call. Starts its
// own etcd member on free loopback ports and stops it at the end.
// Usage: dicomsettings_etcd_bench [google benchmark options]
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <tuple>

#include "EtcdCluster.h"
#include "FixtureFiles.h"
#include "KeyTreeStore.h"
#include "WallClock.h"
#include "etcd/AreaText.h"
#include "etcd/Base64.h"
#include "etcd/EtcdClient.h"

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  std::string folder = std::filesystem::temp_directory_path() / "dicomsettings-etcd-bench-XXXXXX";
  if (mkdtemp(folder.data()) == nullptr) return 1;
  const bench::Fixture fixture =
      bench::WriteFixture(folder + "/settings-base.xml", 1, bench::FixtureStyle::Ascii);
  EtcdCluster etcd(1);
  const std::string endpoint = etcd.Endpoint(0);
  keytreestore::EtcdClient raw({endpoint}, keytreestore::EtcdConfig());
  const std::string prefix = "/bench/base/";
  std::string end = prefix;
  ++end.back();
  const nlohmann::json range = {{"key", keytreestore::EncodeBase64(prefix)},
                                {"range_end", keytreestore::EncodeBase64(end)}};

  // The base file published under the prefix, value by value through the store.
  const std::wstring path = L"etcd://" + std::wstring(endpoint.begin(), endpoint.end()) +
                            std::wstring(prefix.begin(), prefix.end() - 1);
  int failed = StoreOpen(fixture.widePath.c_str(), 0) | StoreCreate(path.c_str());
  wchar_t value[STORE_VALUE_BUFFER_LENGTH];
  for (const bench::FixtureKey& key : fixture.keys) {
    failed |= StoreGetValue(value, fixture.widePath.c_str(), key.text.c_str());
    failed |= StoreSetValue(path.c_str(), key.text.c_str(), value);
  }
  failed |= StoreSave(path.c_str());
  if (failed != STORE_OK) {
    std::cerr << "could not publish the base settings to etcd at " << endpoint << "\n";
    return 1;
  }
  nlohmann::json kept;
  size_t bytes = 0;
  if (raw.Call("kv/range", range, &kept) == STORE_OK) {
    std::string key, text;
    for (const nlohmann::json& kv : kept["kvs"]) {
      keytreestore::DecodeKeyValue(kv, &key, &text);
      bytes += text.size();
    }
  }
  std::cout << "base settings: " << fixture.keys.size() << " values, " << kept["kvs"].size()
            << " keys, " << bytes << " bytes of values under " << prefix << "\n";

  const std::wstring reader = path + L"/";  // the same prefix, opened anew each time
  benchmark::RegisterBenchmark("open/etcd", [&](benchmark::State& state) {
    for (auto _ : state) {
      if (StoreOpen(reader.c_str(), 0) != STORE_OK) state.SkipWithError("StoreOpen failed");
      StoreClose(reader.c_str(), 0);
    }
  });
  benchmark::RegisterBenchmark("open/floor", [&](benchmark::State& state) {
    for (auto _ : state) {
      nlohmann::json read;
      if (raw.Call("kv/range", range, &read) != STORE_OK) state.SkipWithError("range failed");
      std::vector<std::tuple<std::string, long, std::string>> areas;
      std::string key, text;
      for (const nlohmann::json& kv : read["kvs"]) {
        keytreestore::DecodeKeyValue(kv, &key, &text);
        key.erase(0, prefix.size());
        areas.emplace_back(key.substr(0, key.find('[')), keytreestore::AreaIndex(key), text);
      }
      std::sort(areas.begin(), areas.end());
      keytreestore::SettingsDocument tree;
      tree.MakeEmpty();
      std::string fault;
      for (const auto& area : areas) {
        const std::string& name = std::get<0>(area);
        const long index = std::get<1>(area);
        keytreestore::AddArea(tree, index ? name + '[' + std::to_string(index) + ']' : name,
                              std::get<2>(area), &fault);
      }
      benchmark::DoNotOptimize(tree);
    }
  });
  int round = 0;
  const auto saveOne = [&] {
    StoreSetValue(path.c_str(), L"/EchoScu/TaskCount", std::to_wstring(++round % 8).c_str());
    return StoreSave(path.c_str()) == STORE_OK;
  };
  benchmark::RegisterBenchmark("save_one/etcd", [&](benchmark::State& state) {
    for (auto _ : state) {
      if (!saveOne()) state.SkipWithError("StoreSave failed");
    }
  });
  // With and without the record in turns, by the wall clock: the cluster's load
  // changes from moment to moment.
  double recorded = 0;
  double unrecorded = 0;
  benchmark::RegisterBenchmark("save_record/etcd_paired", [&](benchmark::State& state) {
    double sums[2] = {0, 0};
    for (auto _ : state) {
      for (int side = 0; side < 2; ++side) {
        setenv("DICOMSETTINGS_HISTORY_LIMIT", side == 0 ? "1000" : "0", 1);
        const auto start = std::chrono::steady_clock::now();
        if (!saveOne()) state.SkipWithError("StoreSave failed");
        sums[side] +=
            std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start)
                .count();
      }
    }
    unsetenv("DICOMSETTINGS_HISTORY_LIMIT");
    recorded = sums[0] / static_cast<double>(state.iterations());
    unrecorded = sums[1] / static_cast<double>(state.iterations());
  });
  benchmark::RegisterBenchmark("save_one/floor", [&](benchmark::State& state) {
    for (auto _ : state) {
      const nlohmann::json put = {{"key", keytreestore::EncodeBase64("/bench/raw")},
                                  {"value", keytreestore::EncodeBase64(std::to_string(++round))}};
      nlohmann::json done;
      if (raw.Call("kv/put", put, &done) != STORE_OK) state.SkipWithError("put failed");
    }
  });
  benchmark::RegisterBenchmark("update_check/etcd", [&](benchmark::State& state) {
    int updated = 0;
    for (auto _ : state) {
      if (StoreDataUpdateCheck(&updated, path.c_str()) != STORE_OK) state.SkipWithError("failed");
    }
  });

  bench::WallClock collector;
  benchmark::RunSpecifiedBenchmarks(&collector);
  StoreClose(path.c_str(), 0);
  StoreClose(fixture.widePath.c_str(), 0);
  std::filesystem::remove_all(folder);

  std::printf("\n| figure | store | floor | ratio | goal |\n|---|---|---|---|---|\n");
  int missed = 0;
  for (const auto& row : {std::make_pair("open of the base settings", "open"),
                          std::make_pair("save of one changed value", "save_one")}) {
    const double store = collector.real[std::string(row.second) + "/etcd"];
    const double floor = collector.real[std::string(row.second) + "/floor"];
    const double ratio = floor > 0 ? store / floor : 0;
    missed += ratio > 1.5;
    std::printf("| %s | %.0f µs | %.0f µs | %.2f | ≤ 1.5 |\n", row.first, store / 1e3, floor / 1e3,
                ratio);
  }
  const double ratio = unrecorded > 0 ? recorded / unrecorded : 0;
  missed += ratio > 1.2;
  std::printf(
      "| save of one changed value with its change record | %.0f µs | %.0f µs (without) | "
      "%.2f | ≤ 1.2 |\n",
      recorded / 1e3, unrecorded / 1e3, ratio);
  std::printf("| update check, per call | %.0f µs | | | |\n",
              collector.real["update_check/etcd"] / 1e3);
  return missed == 0 ? 0 : 1;
}
