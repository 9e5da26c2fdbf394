// Several threads on two shared files (each under two path texts, so saves also
// merge) reading, writing, counting, saving, reloading, opening and closing at
// once: no crash, no race (run under ThreadSanitizer), every value read is one that
// some thread wrote.
#include <gtest/gtest.h>

#include <atomic>
#include <cwchar>
#include <random>
#include <thread>

#include "ChildProcess.h"
#include "StoreTestSupport.h"

namespace {

constexpr int kThreads = 4;

// True for "init" or "t<thread>-<n>" with a thread that exists.
bool Written(const std::wstring& value, int iterations) {
  if (value == L"init") return true;
  int thread = -1;
  int n = -1;
  wchar_t rest = 0;
  return std::swscanf(value.c_str(), L"t%d-%d%lc", &thread, &n, &rest) == 2 && thread >= 0 &&
         thread < kThreads && n >= 0 && n < iterations;
}

TEST(StoreThreads, SharedFilesStayConsistent) {
  TempDir dir;
  std::vector<std::wstring> paths;
  for (const char* name : {"one.xml", "two.xml"}) {
    WriteTextFile(dir.File(name), SettingsXml("<Shared><V>init</V></Shared>"));
    paths.push_back(dir.WideFile(name));
    paths.push_back(OtherPathText(dir.WideFile(name)));
  }
  for (const std::wstring& path : paths) ASSERT_EQ(StoreOpen(path.c_str(), 1), STORE_OK);
  const int iterations = Iterations("STORE_STRESS_THREAD_OPS", 400);
  std::atomic<int> faults{0};
  std::atomic<int> reads{0};
  auto work = [&](int t) {
    std::mt19937 random(t);
    for (int n = 0; n < iterations; ++n) {
      const std::wstring& path = paths[random() % paths.size()];
      const wchar_t* p = path.c_str();
      const std::wstring value = L"t" + std::to_wstring(t) + L"-" + std::to_wstring(n);
      const std::wstring own = L"/T" + std::to_wstring(t) + L"/V[" + std::to_wstring(n % 5) + L"]";
      int out = 0;
      switch (random() % 10) {
        case 0:
        case 1:
        case 2:
          if (StoreSetValue(p, own.c_str(), value.c_str()) != STORE_OK) ++faults;
          if (StoreSetValue(p, L"/Shared/V", value.c_str()) != STORE_OK) ++faults;
          break;
        case 3:
        case 4:
        case 5: {
          const StoreRead shared = ReadValue(path, L"/Shared/V");
          if (shared.result != STORE_OK || !Written(shared.text, iterations)) ++faults;
          // Setting V[4] first leaves V[0] to V[3] empty.
          const StoreRead mine = ReadValue(path, own.c_str());
          if (mine.result == STORE_OK ? !mine.text.empty() && !Written(mine.text, iterations)
                                      : mine.result != STORE_E_NOT_FOUND) {
            ++faults;
          }
          ++reads;
          break;
        }
        case 6:
          if (StoreGetNodeCount(&out, p, (L"/T" + std::to_wstring(t) + L"/V").c_str()) !=
                  STORE_OK ||
              out < 0 || out > 5) {
            ++faults;
          }
          break;
        case 7:
          if (StoreSave(p) != STORE_OK) ++faults;
          break;
        case 8:
          if (StoreLoad(p) != STORE_OK) ++faults;
          break;
        default:
          if (StoreOpen(p, 1) != STORE_OK || StoreDataUpdateCheck(&out, p) != STORE_OK ||
              StoreClose(p, 1) != STORE_OK) {
            ++faults;
          }
      }
    }
  };
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) threads.emplace_back(work, t);
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(faults.load(), 0);
  for (const std::wstring& path : paths) {
    EXPECT_EQ(StoreSave(path.c_str()), STORE_OK);
    EXPECT_TRUE(Written(ReadValue(path, L"/Shared/V").text, iterations));
    EXPECT_EQ(StoreClose(path.c_str(), 1), STORE_OK);
    EXPECT_EQ(StoreClose(path.c_str(), 1), STORE_E_NOT_OPEN);
  }
  std::printf("%d threads, %d operations each, %d reads checked\n", kThreads, iterations,
              reads.load());
}

}  // namespace
