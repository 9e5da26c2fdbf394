// Change notification: the update check per call with and without a watch, on a
// file (the base settings, about 180 KB) and on a prefix of a local etcd member;
// and the time from the start of a save in this process to another process,
// waiting on its watch, waking (median and 99th percentile over a number of
// saves, 1,000 by default, fsyncs and all). Starts its own etcd member on free
// loopback ports and stops it at the end.
// Usage: dicomsettings_watch_bench [--saves=N] [google benchmark options]
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "EtcdCluster.h"
#include "FixtureFiles.h"
#include "KeyTreeStore.h"
#include "WallClock.h"

namespace {

long long NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

struct Wake {
  double medianMs = 0;
  double p99Ms = 0;
  size_t saves = 0;
};

// The waiting process: watches path and, each time it wakes, sends the time it
// woke at, reloads, and says it is ready for the next save. Never returns.
[[noreturn]] void WaitAndTell(const std::wstring& path, int woke, int ready) {
  int fd = -1;
  if (StoreOpen(path.c_str(), 0) != STORE_OK || StoreWatch(path.c_str(), &fd) != STORE_OK) {
    _exit(1);
  }
  const char go = 'r';
  if (write(ready, &go, 1) != 1) _exit(1);
  for (;;) {
    int changed = 0;
    if (StoreWaitForChange(path.c_str(), -1, &changed) != STORE_OK) _exit(1);
    if (changed == 0) continue;
    const long long now = NowNs();
    if (write(woke, &now, sizeof now) != sizeof now) _exit(0);
    StoreLoad(path.c_str());
    if (write(ready, &go, 1) != 1) _exit(0);
  }
}

// Saves a changed value of path (2 to 9 in turn: the settings hold 1 first), saves times, each once
// the waiting process is ready, and measures how long after the save's start it woke. path must not
// be open in this process yet: the waiting process is forked first.
Wake MeasureWake(const std::wstring& path, int saves) {
  int woke[2];
  int ready[2];
  if (pipe(woke) != 0 || pipe(ready) != 0) return Wake{};
  const pid_t pid = fork();
  if (pid == 0) {
    close(woke[0]);
    close(ready[0]);
    WaitAndTell(path, woke[1], ready[1]);
  }
  close(woke[1]);
  close(ready[1]);
  std::vector<double> ms;
  char go = 0;
  if (StoreOpen(path.c_str(), 0) == STORE_OK) {
    for (int i = 0; i < saves && read(ready[0], &go, 1) == 1; ++i) {
      StoreSetValue(path.c_str(), L"/EchoScu/TaskCount", std::to_wstring(i % 8 + 2).c_str());
      const long long start = NowNs();
      if (StoreSave(path.c_str()) != STORE_OK) break;
      long long woken = 0;
      if (read(woke[0], &woken, sizeof woken) != sizeof woken) break;
      ms.push_back(static_cast<double>(woken - start) / 1e6);
    }
    StoreClose(path.c_str(), 0);
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  close(woke[0]);
  close(ready[0]);
  Wake wake;
  wake.saves = ms.size();
  if (ms.empty()) return wake;
  std::sort(ms.begin(), ms.end());
  wake.medianMs = ms[ms.size() / 2];
  wake.p99Ms = ms[static_cast<size_t>(std::ceil(0.99 * static_cast<double>(ms.size()))) - 1];
  return wake;
}

// The update check per call on path, watched or not.
void RegisterUpdateCheck(const std::string& name, const std::wstring& path, bool watched) {
  benchmark::RegisterBenchmark(name.c_str(), [path, watched](benchmark::State& state) {
    int fd = -1;
    if (watched && StoreWatch(path.c_str(), &fd) != STORE_OK) state.SkipWithError("no watch");
    int updated = 0;
    for (auto _ : state) {
      if (StoreDataUpdateCheck(&updated, path.c_str()) != STORE_OK) state.SkipWithError("failed");
    }
    if (watched) StoreUnwatch(path.c_str());
  })->Unit(benchmark::kNanosecond);
}

}  // namespace

int main(int argc, char** argv) {
  int saves = 1000;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--saves=", 8) == 0) saves = std::atoi(argv[i] + 8);
  }
  benchmark::Initialize(&argc, argv);
  std::string folder = std::filesystem::temp_directory_path() / "dicomsettings-watch-bench-XXXXXX";
  if (mkdtemp(folder.data()) == nullptr) return 1;
  const bench::Fixture fixture =
      bench::WriteFixture(folder + "/settings-base.xml", 1, bench::FixtureStyle::Ascii);
  EtcdCluster etcd(1);
  const std::string endpoint = etcd.Endpoint(0);
  const std::wstring prefix =
      L"etcd://" + std::wstring(endpoint.begin(), endpoint.end()) + L"/bench/watch";
  int failed = StoreCreate(prefix.c_str());
  failed |= StoreSetValue(prefix.c_str(), L"/EchoScu/TaskCount", L"1");
  failed |= StoreSetValue(prefix.c_str(), L"/EchoScu/ClientAeTitle", L"ECHO_SCU");
  failed |= StoreSave(prefix.c_str());
  failed |= StoreClose(prefix.c_str(), 0);
  if (failed != STORE_OK) {
    std::fprintf(stderr, "could not create the settings on etcd at %s\n", endpoint.c_str());
    return 1;
  }

  // Waiting processes are forked before this one starts a thread.
  const Wake fileWake = MeasureWake(fixture.widePath, saves);
  const Wake etcdWake = MeasureWake(prefix, saves);

  StoreOpen(fixture.widePath.c_str(), 0);
  StoreOpen(prefix.c_str(), 0);
  RegisterUpdateCheck("update_check/file", fixture.widePath, false);
  RegisterUpdateCheck("update_check/file_watched", fixture.widePath, true);
  RegisterUpdateCheck("update_check/etcd", prefix, false);
  RegisterUpdateCheck("update_check/etcd_watched", prefix, true);
  bench::WallClock collector;
  benchmark::RunSpecifiedBenchmarks(&collector);
  StoreClose(prefix.c_str(), 0);
  StoreClose(fixture.widePath.c_str(), 0);
  std::filesystem::remove_all(folder);

  int missed = 0;
  std::printf("\n| update check, per call | without a watch | with a watch | ratio | goal |\n");
  std::printf("|---|---|---|---|---|\n");
  for (const char* kind : {"file", "etcd"}) {
    const double without = collector.real[std::string("update_check/") + kind];
    const double with = collector.real[std::string("update_check/") + kind + "_watched"];
    missed += !(with > 0 && with < 1000);
    std::printf("| %s | %.0f ns | %.0f ns | %.4f | with a watch < 1 µs |\n", kind, without, with,
                without > 0 ? with / without : 0);
  }
  std::printf(
      "\n| save to the waiting process waking | saves | median | 99th percentile | goal |\n");
  std::printf("|---|---|---|---|---|\n");
  for (const auto& row : {std::make_pair("file", fileWake), std::make_pair("etcd", etcdWake)}) {
    missed += !(row.second.saves == static_cast<size_t>(saves) && row.second.p99Ms < 100);
    std::printf("| %s | %zu | %.2f ms | %.2f ms | 99th percentile < 100 ms |\n", row.first,
                row.second.saves, row.second.medianMs, row.second.p99Ms);
  }
  return missed == 0 ? 0 : 1;
}
