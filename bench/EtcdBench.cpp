// The store on a local etcd cluster against the floor the same client library
// gives: opening the base settings file (about 3,000 values) against one raw
// range read of the prefix plus building the tree from it; saving one changed
// value against one raw single-key put; and the update check per call. Starts its
// own etcd member on free loopback ports and stops it at the end.
// Usage: dicomsettings_etcd_bench [google benchmark options]
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <tuple>

#include "Base64.h"
#include "EtcdClient.h"
#include "FixtureFiles.h"
#include "KeyTreeStore.h"
#include "TreeLines.h"

namespace {

int FreePort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  bind(fd, reinterpret_cast<sockaddr*>(&address), size);
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  close(fd);
  return ntohs(address.sin_port);
}

pid_t StartEtcd(const std::string& folder, int client, int peer) {
  const std::string clientUrl = "http://127.0.0.1:" + std::to_string(client);
  const std::string peerUrl = "http://127.0.0.1:" + std::to_string(peer);
  std::vector<std::string> args{"etcd",
                                "--data-dir=" + folder + "/etcd",
                                "--listen-client-urls=" + clientUrl,
                                "--advertise-client-urls=" + clientUrl,
                                "--listen-peer-urls=" + peerUrl,
                                "--initial-advertise-peer-urls=" + peerUrl,
                                "--initial-cluster=default=" + peerUrl};
  const std::string log = folder + "/etcd.log";
  const pid_t pid = fork();
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    dup2(fd, 1);
    dup2(fd, 2);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    execvp("etcd", argv.data());
    _exit(127);
  }
  return pid;
}

// Keeps the wall-clock time per iteration of every benchmark: the store waits on
// the network, so processor time would hide most of a request.
class Collector : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
      const double unit = run.time_unit == benchmark::kMillisecond   ? 1e6
                          : run.time_unit == benchmark::kMicrosecond ? 1e3
                                                                     : 1.0;
      real[run.run_name.function_name] = run.GetAdjustedRealTime() * unit;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> real;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  std::string folder = std::filesystem::temp_directory_path() / "dicomsettings-etcd-bench-XXXXXX";
  if (mkdtemp(folder.data()) == nullptr) return 1;
  const bench::Fixture fixture = bench::WriteFixture(folder + "/settings-base.xml", 1);
  const int port = FreePort();
  const pid_t etcd = StartEtcd(folder, port, FreePort());
  const std::string endpoint = "127.0.0.1:" + std::to_string(port);
  keytreestore::EtcdClient raw({endpoint}, keytreestore::EtcdConfig());
  const std::string prefix = "/bench/base/";
  std::string end = prefix;
  ++end.back();
  const nlohmann::json range = {{"key", keytreestore::EncodeBase64(prefix)},
                                {"range_end", keytreestore::EncodeBase64(end)}};
  nlohmann::json answer;
  for (int tries = 0; tries < 100 && raw.Call("kv/range", range, &answer) != STORE_OK; ++tries) {
    usleep(100000);
  }

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
    kill(etcd, SIGKILL);
    return 1;
  }
  std::cout << "base settings: " << fixture.keys.size() << " values under " << prefix << "\n";

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
  benchmark::RegisterBenchmark("save_one/etcd", [&](benchmark::State& state) {
    for (auto _ : state) {
      StoreSetValue(path.c_str(), L"/EchoScu/TaskCount", std::to_wstring(++round % 8).c_str());
      if (StoreSave(path.c_str()) != STORE_OK) state.SkipWithError("StoreSave failed");
    }
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

  Collector collector;
  benchmark::RunSpecifiedBenchmarks(&collector);
  StoreClose(path.c_str(), 0);
  StoreClose(fixture.widePath.c_str(), 0);
  kill(etcd, SIGKILL);
  waitpid(etcd, nullptr, 0);
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
  std::printf("| update check, per call | %.0f µs | | | |\n",
              collector.real["update_check/etcd"] / 1e3);
  return missed == 0 ? 0 : 1;
}
