// Many gateways on one etcd prefix: each process opens the prefix, sets keys of
// its own and its entry of a shared list, and saves, round after round. Prints
// the updates lost (which must be 0), the change records kept (one a save, in
// the order the saves took effect), saves per second, and the median and
// 99th-percentile save time. With "host", the gateways share a host prefix that
// extends the site's, where the shared list is: each gateway's first write takes
// the list into the host while the others do the same.
// Usage: dicomsettings_etcd_stress [PROCESSES [ROUNDS [host]]]   (default 20 50)
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "EtcdCluster.h"
#include "KeyTreeStore.h"

namespace {

using Clock = std::chrono::steady_clock;

std::wstring RoundKey(int gateway, int round) {
  return L"/Gateways/G" + std::to_wstring(gateway) + L"/Round[" + std::to_wstring(round) + L"]";
}

std::wstring SharedKey(int gateway) {
  return L"/Gateways/Shared[" + std::to_wstring(gateway) + L"]/Last";
}

// One gateway: ROUNDS saves, each of one new key of its own and of its entry of
// the shared list; a save that fails is tried again. Writes each save's time in
// microseconds to out.
int Gateway(const std::wstring& path, int gateway, int rounds, FILE* out) {
  if (StoreOpen(path.c_str(), 0) != STORE_OK) return 2;
  for (int round = 0; round < rounds; ++round) {
    const std::wstring value = std::to_wstring(round);
    if (StoreSetValue(path.c_str(), RoundKey(gateway, round).c_str(), value.c_str()) != STORE_OK ||
        StoreSetValue(path.c_str(), SharedKey(gateway).c_str(), value.c_str()) != STORE_OK) {
      return 3;
    }
    const Clock::time_point start = Clock::now();
    int tries = 0;
    while (StoreSave(path.c_str()) != STORE_OK) {
      if (++tries == 10) return 4;
    }
    const auto micros =
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
    std::fprintf(out, "%lld\n", static_cast<long long>(micros));
  }
  return StoreClose(path.c_str(), 0) == STORE_OK ? 0 : 5;
}

// Whether the history of path holds exactly records records, numbered 1 to
// records from the oldest on.
bool HistoryHolds(const std::wstring& path, size_t records) {
  size_t length = 0;
  StoreReadHistory(path.c_str(), nullptr, 0, &length);
  std::string text(length + 1, '\0');
  if (StoreReadHistory(path.c_str(), &text[0], text.size(), &length) != STORE_OK) return false;
  const nlohmann::json listed = nlohmann::json::parse(text.substr(0, length))["records"];
  for (size_t i = 0; i < listed.size(); ++i) {
    if (listed[i]["id"] != records - i) return false;
  }
  std::printf("change records: %zu (one a save: %zu)\n", listed.size(), records);
  return listed.size() == records;
}

}  // namespace

int main(int argc, char** argv) {
  const int processes = argc > 1 ? std::atoi(argv[1]) : 20;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 50;
  const bool host = argc > 3 && std::string(argv[3]) == "host";
  if (processes < 1 || rounds < 1) return 2;
  setenv("DICOMSETTINGS_HISTORY_LIMIT", "1000000", 0);  // every record kept, to count them
  int status = 0;
  {
    EtcdCluster etcd(1);
    const std::string text = "etcd://" + etcd.Endpoint(0) + "/stress/site";
    const std::wstring site(text.begin(), text.end());
    const std::wstring path = host ? site + L"/hosts/gw" : site;
    bool made = StoreCreate(site.c_str()) == STORE_OK &&
                StoreSetValue(site.c_str(), L"/Gateways/Started", L"1") == STORE_OK;
    for (int gateway = 0; gateway < processes && made; ++gateway) {
      made = StoreSetValue(site.c_str(), SharedKey(gateway).c_str(), L"-1") == STORE_OK;
    }
    made = made && StoreSave(site.c_str()) == STORE_OK && StoreClose(site.c_str(), 0) == STORE_OK;
    if (made && host) {
      made = StoreCreateChild(path.c_str(), site.c_str()) == STORE_OK &&
             StoreSave(path.c_str()) == STORE_OK && StoreClose(path.c_str(), 0) == STORE_OK;
    }
    if (!made) {
      std::fprintf(stderr, "cannot start etcd and create the prefix\n");
      return 2;
    }
    const std::string times = etcd.dir().File("times");
    const Clock::time_point start = Clock::now();
    std::vector<pid_t> children;
    for (int gateway = 0; gateway < processes; ++gateway) {
      const pid_t child = fork();
      if (child == 0) {
        FILE* out = std::fopen((times + std::to_string(gateway)).c_str(), "w");
        _exit(out == nullptr ? 2 : Gateway(path, gateway, rounds, out) | (std::fclose(out) != 0));
      }
      children.push_back(child);
    }
    for (const pid_t child : children) {
      int result = 0;
      waitpid(child, &result, 0);
      if (!WIFEXITED(result) || WEXITSTATUS(result) != 0) status = 1;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();

    std::vector<long long> micros;
    for (int gateway = 0; gateway < processes; ++gateway) {
      FILE* in = std::fopen((times + std::to_string(gateway)).c_str(), "r");
      long long value = 0;
      while (in != nullptr && std::fscanf(in, "%lld", &value) == 1) micros.push_back(value);
      if (in != nullptr) std::fclose(in);
    }
    long lost = 0;
    if (StoreOpen(path.c_str(), 0) != STORE_OK) return 2;
    const auto kept = [&](const std::wstring& key, int round) {
      wchar_t value[STORE_VALUE_BUFFER_LENGTH];
      return StoreGetValue(value, path.c_str(), key.c_str()) == STORE_OK &&
             std::to_wstring(round) == value;
    };
    for (int gateway = 0; gateway < processes; ++gateway) {
      for (int round = 0; round < rounds; ++round)
        lost += kept(RoundKey(gateway, round), round) ? 0 : 1;
      lost += kept(SharedKey(gateway), rounds - 1) ? 0 : 1;
    }
    // The site's first save changed a value; the host's took in nothing yet.
    if (!HistoryHolds(path, static_cast<size_t>(processes) * rounds + (host ? 0 : 1))) status = 1;
    StoreClose(path.c_str(), 0);
    std::sort(micros.begin(), micros.end());
    const auto at = [&](double q) {
      return micros.empty() ? 0.0 : micros[static_cast<size_t>(q * (micros.size() - 1))] / 1e3;
    };
    std::printf("%d processes x %d rounds on one %s prefix: %zu saves in %.1f s\n", processes,
                rounds, host ? "host" : "site", micros.size(), seconds);
    std::printf(
        "lost updates: %ld\nsaves per second: %.0f\nsave time: median %.1f ms, p99 %.1f ms\n", lost,
        micros.size() / seconds, at(0.5), at(0.99));
    if (lost != 0) status = 1;
  }
  return status;
}
