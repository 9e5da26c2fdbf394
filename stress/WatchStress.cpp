// Many watching processes on one etcd prefix and one writer: each round the
// writer saves a burst of changes to one value, and every watcher must report
// the burst's final value (each reloads when its watch wakes it). Then nothing
// is written for a while, and the member's count of requests started (its
// metrics endpoint, grpc_server_started_total) must not move: idle watchers cost
// the cluster no request. Prints the rounds every watcher saw, the time until
// the last watcher had the final value (median and worst), and the requests
// during the idle time.
// Usage: dicomsettings_watch_stress [WATCHERS [ROUNDS [IDLE_SECONDS]]]
//        (default 100 20 60)
#include <curl/curl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "EtcdCluster.h"
#include "KeyTreeStore.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kBurst = 10;
constexpr const wchar_t* kKey = L"/Round/Value";

long ReadValue(const std::wstring& path) {
  wchar_t text[STORE_VALUE_BUFFER_LENGTH];
  return StoreGetValue(text, path.c_str(), kKey) == STORE_OK ? std::wcstol(text, nullptr, 10) : -1;
}

// One watcher: reports "ID VALUE" at the start and after every reload its watch
// woke it for. Never returns.
[[noreturn]] void Watcher(const std::wstring& path, int id, int report) {
  int fd = -1;
  const bool watching =
      StoreOpen(path.c_str(), 0) == STORE_OK && StoreWatch(path.c_str(), &fd) == STORE_OK;
  for (long value = watching ? ReadValue(path) : -2;;) {
    char line[64];
    const int size = std::snprintf(line, sizeof line, "%d %ld\n", id, value);
    if (write(report, line, static_cast<size_t>(size)) != size || !watching) _exit(1);
    int changed = 0;
    while (changed == 0) {
      if (StoreWaitForChange(path.c_str(), -1, &changed) != STORE_OK) _exit(1);
    }
    value = StoreLoad(path.c_str()) == STORE_OK ? ReadValue(path) : -3;
  }
}

size_t Collect(char* data, size_t size, size_t count, void* out) {
  static_cast<std::string*>(out)->append(data, size * count);
  return size * count;
}

// The requests a member has started (every gRPC method, the JSON gateway's
// included), from its metrics endpoint; -1 when it cannot be read.
long long RequestsStarted(const std::string& endpoint) {
  CURL* curl = curl_easy_init();
  std::string text;
  curl_easy_setopt(curl, CURLOPT_URL, ("http://" + endpoint + "/metrics").c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &text);
  const bool read = curl_easy_perform(curl) == CURLE_OK;
  curl_easy_cleanup(curl);
  if (!read) return -1;
  long long total = 0;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("grpc_server_started_total{", 0) != 0) continue;
    total += std::atoll(line.substr(line.rfind(' ') + 1).c_str());
  }
  return total;
}

// Reads reports until every watcher's last one is final, or until deadline:
// whether they all got there.
bool AwaitFinal(int report, std::vector<long>& seen, long final, Clock::time_point deadline) {
  std::string pending;
  while (std::any_of(seen.begin(), seen.end(), [&](long value) { return value != final; })) {
    const long ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    pollfd ready = {report, POLLIN, 0};
    if (ms <= 0 || poll(&ready, 1, static_cast<int>(ms)) <= 0) return false;
    char buffer[4096];
    const ssize_t n = read(report, buffer, sizeof buffer);
    if (n <= 0) return false;
    pending.append(buffer, static_cast<size_t>(n));
    for (size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
      int id = -1;
      long value = 0;
      if (std::sscanf(pending.c_str(), "%d %ld", &id, &value) == 2 && id >= 0 &&
          static_cast<size_t>(id) < seen.size()) {
        seen[static_cast<size_t>(id)] = value;
      }
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const int watchers = argc > 1 ? std::atoi(argv[1]) : 100;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 20;
  const int idleSeconds = argc > 3 ? std::atoi(argv[3]) : 60;
  EtcdCluster etcd(1);
  const std::string endpoint = etcd.Endpoint(0);
  const std::wstring path =
      L"etcd://" + std::wstring(endpoint.begin(), endpoint.end()) + L"/sites/watched";
  if (StoreCreate(path.c_str()) != STORE_OK ||
      StoreSetValue(path.c_str(), kKey, L"0") != STORE_OK || StoreSave(path.c_str()) != STORE_OK ||
      StoreClose(path.c_str(), 0) != STORE_OK) {
    std::fprintf(stderr, "could not create the settings on etcd at %s\n", endpoint.c_str());
    return 1;
  }
  int report[2];
  if (pipe(report) != 0) return 1;
  std::vector<pid_t> pids;
  for (int id = 0; id < watchers; ++id) {
    const pid_t pid = fork();
    if (pid == 0) {
      close(report[0]);
      Watcher(path, id, report[1]);
    }
    pids.push_back(pid);
  }
  close(report[1]);
  std::vector<long> seen(static_cast<size_t>(watchers), -1);
  bool ok = AwaitFinal(report[0], seen, 0, Clock::now() + std::chrono::seconds(60));
  std::printf("%d watchers %s\n", watchers, ok ? "watching" : "did not all start watching");

  int whole = 0;
  std::vector<double> lastMs;
  if (ok && StoreOpen(path.c_str(), 0) == STORE_OK) {
    for (int round = 1; round <= rounds; ++round) {
      const Clock::time_point start = Clock::now();
      for (int i = 1; i <= kBurst; ++i) {
        StoreSetValue(path.c_str(), kKey, std::to_wstring(round * kBurst + i).c_str());
        if (StoreSave(path.c_str()) != STORE_OK) std::fprintf(stderr, "a save failed\n");
      }
      const long final = round * kBurst + kBurst;
      if (!AwaitFinal(report[0], seen, final, Clock::now() + std::chrono::seconds(30))) continue;
      ++whole;
      lastMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    StoreClose(path.c_str(), 0);
  }
  std::sort(lastMs.begin(), lastMs.end());
  std::printf("rounds of %d saves every watcher saw to the end: %d of %d\n", kBurst, whole, rounds);
  if (!lastMs.empty()) {
    std::printf(
        "from a round's first save to the last watcher holding its final value: median "
        "%.1f ms, worst %.1f ms\n",
        lastMs[lastMs.size() / 2], lastMs.back());
  }

  const long long before = RequestsStarted(endpoint);
  std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
  const long long after = RequestsStarted(endpoint);
  const long long idle = after - before;
  std::printf(
      "requests the member started in an idle %d s with %d watchers: %lld "
      "(%lld before it; polling once a second would send %d)\n",
      idleSeconds, watchers, idle, before, watchers * idleSeconds);
  int alive = 0;
  for (const pid_t pid : pids) {
    alive += waitpid(pid, nullptr, WNOHANG) == 0;
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
  std::printf("watchers still running at the end: %d of %d\n", alive, watchers);
  return whole == rounds && before >= 0 && idle == 0 && alive == watchers ? 0 : 1;
}
