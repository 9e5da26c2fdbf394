// Writers in separate processes saving one file at the same time lose no update
// (which save wins where two set one key is steps.txt's, in a known order), and
// each save leaves its record, numbered in the order the saves took effect.
#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "StoreTestSupport.h"

namespace {

TEST(ConcurrentWriters, TwoProcessesLoseNoUpdate) {
  TempDir dir;
  const std::string name = dir.File("settings.xml");
  WriteTextFile(name, SettingsXml("<Shared><Last>none</Last></Shared>"));
  const int rounds = Iterations("STORE_STRESS_ROUNDS", 200);
  setenv("DICOMSETTINGS_HISTORY_LIMIT", std::to_string(2 * rounds).c_str(), 1);  // none dropped
  ChildProcess a(STORE_WORKER, {"rounds", name, "A", std::to_string(rounds)});
  ChildProcess b(STORE_WORKER, {"rounds", name, "B", std::to_string(rounds)});
  ASSERT_TRUE(a.started() && b.started());
  ASSERT_EQ(a.Wait(), 0);
  ASSERT_EQ(b.Wait(), 0);

  OpenedFile file(dir.WideFile("settings.xml"));
  ASSERT_EQ(file.result(), STORE_OK);
  int lost = 0;
  for (const std::string id : {"A", "B"}) {
    const std::wstring writer = L"/Writer" + std::wstring(id.begin(), id.end());
    int nodes = 0;
    EXPECT_EQ(StoreGetNodeCount(&nodes, file.path().c_str(), (writer + L"/R0").c_str()), STORE_OK);
    EXPECT_EQ(nodes, 1);
    for (int round = 0; round < rounds; ++round) {
      const std::wstring key = writer + L"/R" + std::to_wstring(round);
      const std::wstring value = std::wstring(id.begin(), id.end()) + L":" + std::to_wstring(round);
      if (!(file.Read(key.c_str()) == StoreRead{STORE_OK, value})) ++lost;
    }
  }
  EXPECT_EQ(lost, 0);
  // Whichever saved last put its own last round on top.
  const std::wstring last = file.Read(L"/Shared/Last").text;
  const std::wstring final = L":" + std::to_wstring(rounds - 1);
  EXPECT_TRUE(last == L"A" + final || last == L"B" + final) << last;
  const nlohmann::json records = HistoryOf(file.path())["records"];
  unsetenv("DICOMSETTINGS_HISTORY_LIMIT");
  ASSERT_EQ(records.size(), 2u * rounds);
  for (size_t i = 0; i < records.size(); ++i) {
    ASSERT_EQ(records[i]["id"], records.size() - i);
    ASSERT_EQ(records[i]["saved"], true) << "record " << records[i]["id"];
  }
  std::printf("%d rounds of each of two processes, %d updates lost\n", rounds, lost);
}

}  // namespace
