// The change history of a settings file: what a record holds, trimming, a
// damaged history, and putting a tree back to what it was after a record.
#include <gmock/gmock.h>
#include <unistd.h>

#include <cstdlib>
#include <regex>

#include "StoreTestSupport.h"

namespace {

using ::testing::HasSubstr;

// Sets key value pairs on an open file and saves them.
void Save(const OpenedFile& file, std::vector<std::pair<const wchar_t*, const wchar_t*>> pairs) {
  for (const auto& pair : pairs) ASSERT_EQ(file.Set(pair.first, pair.second), STORE_OK);
  ASSERT_EQ(file.Save(), STORE_OK);
}

TEST(History, ARecordSaysWhoWhenWhereWhyAndWhatChanged) {
  TempDir dir;
  WriteTextFile(dir.File("s.xml"), SettingsXml("<A><Old>1</Old><Gone>g</Gone></A>"));
  OpenedFile file(dir.WideFile("s.xml"));
  setenv("DICOMSETTINGS_CHANGE_REASON", "from the environment", 1);
  Save(file, {{L"/A/Old", L"1"}});  // nothing changed: no record
  ASSERT_EQ(StoreRemoveNode(file.path().c_str(), L"/A/Gone"), STORE_OK);
  Save(file, {{L"/A/Old", L"2"}, {L"/A/New[1]", L"n"}});
  ASSERT_EQ(StoreSetChangeReason(file.path().c_str(), L"by call"), STORE_OK);
  Save(file, {{L"/A/Old", L"3"}});
  ASSERT_EQ(StoreSetChangeReason(file.path().c_str(), nullptr), STORE_OK);
  unsetenv("DICOMSETTINGS_CHANGE_REASON");
  Save(file, {{L"/A/Old", L"4"}});
  const nlohmann::json records = HistoryOf(file.path())["records"];
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[2]["reason"], "from the environment");
  EXPECT_EQ(records[1]["reason"], "by call");
  EXPECT_EQ(records[0]["reason"], nullptr);
  // The list entry created on the way to an index is a value too.
  EXPECT_EQ(records[2]["changes"], nlohmann::json::parse(R"([
    {"key": "/A/Old", "old": "1", "new": "2"}, {"key": "/A/New", "old": null, "new": ""},
    {"key": "/A/New[1]", "old": null, "new": "n"}, {"key": "/A/Gone", "old": "g", "new": null}])"));
  const nlohmann::json& newest = records[0];
  EXPECT_EQ(newest["id"], 3);
  EXPECT_TRUE(std::regex_match(newest["time"].get<std::string>(),
                               std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z)")));
  EXPECT_EQ(newest["uid"], getuid());
  EXPECT_EQ(newest["pid"], getpid());
  EXPECT_EQ(newest["program"], program_invocation_short_name);
  char host[256] = {};
  gethostname(host, sizeof host - 1);
  EXPECT_EQ(newest["host"], host);
  EXPECT_FALSE(newest["user"].get<std::string>().empty());
}

TEST(History, OnlyTheNewestRecordsAreKept) {
  TempDir dir;
  WriteTextFile(dir.File("s.xml"), SettingsXml("<A>0</A>"));
  OpenedFile file(dir.WideFile("s.xml"));
  setenv("DICOMSETTINGS_HISTORY_LIMIT", "3", 1);
  for (const wchar_t* value : {L"1", L"2", L"3", L"4", L"5"}) Save(file, {{L"/A", value}});
  const nlohmann::json records = HistoryOf(file.path())["records"];
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0]["id"], 5);
  EXPECT_EQ(records[2]["id"], 3);
  const std::string kept = ReadTextFile(dir.File("s.xml.history"));
  EXPECT_EQ(std::count(kept.begin(), kept.end(), '\n'), 3);
  setenv("DICOMSETTINGS_HISTORY_LIMIT", "0", 1);
  Save(file, {{L"/A", L"6"}});
  unsetenv("DICOMSETTINGS_HISTORY_LIMIT");
  EXPECT_EQ(HistoryOf(file.path())["records"][0]["id"], 5);
  EXPECT_EQ(HistoryOf(file.path())["records"][0]["outside"], true);
}

TEST(History, ACutRecordIsDroppedAndADamagedHistoryMovedAsideByTheNextSave) {
  TempDir dir;
  WriteTextFile(dir.File("s.xml"), SettingsXml("<A>0</A>"));
  OpenedFile file(dir.WideFile("s.xml"));
  Save(file, {{L"/A", L"1"}});
  const std::string good = ReadTextFile(dir.File("s.xml.history"));
  WriteTextFile(dir.File("s.xml.history"), good + good.substr(0, 20));
  Save(file, {{L"/A", L"2"}});
  EXPECT_EQ(HistoryOf(file.path())["records"].size(), 2u);
  EXPECT_EQ(DirectoryEntries(dir.path()).size(), 3u);
  WriteTextFile(dir.File("s.xml.history"), good + "not json\n" + good.substr(0, 20));
  const nlohmann::json damaged = HistoryOf(file.path());
  EXPECT_EQ(damaged["faults"], nlohmann::json::parse(R"([{"line": 2, "text": "not a JSON object"},
    {"line": 3, "text": "cut short: a save stopped (or is under way) before its record was whole; the next save drops it"}])"));
  EXPECT_EQ(damaged["records"].size(), 1u);
  Save(file, {{L"/A", L"3"}});
  const nlohmann::json fresh = HistoryOf(file.path());
  EXPECT_TRUE(fresh["faults"].empty());
  ASSERT_EQ(fresh["records"].size(), 1u);
  EXPECT_EQ(fresh["records"][0]["id"], 2);
  const std::vector<std::string> entries = DirectoryEntries(dir.path());
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_THAT(entries[2], ::testing::StartsWith("s.xml.history.damaged-"));
  EXPECT_EQ(ReadTextFile(dir.File(entries[2])), good + "not json\n" + good.substr(0, 20));
}

// Undoing list entries added, removed and changed, a value that became a group,
// and an area created, across several records.
TEST(History, RevertPutsEveryValueBackAsItWasAfterTheRecord) {
  TempDir dir;
  const std::string start = "<L><E><X>a</X></E><E><X>b</X></E><E><X>c</X></E></L><V>leaf</V>";
  WriteTextFile(dir.File("s.xml"), SettingsXml(start));
  OpenedFile file(dir.WideFile("s.xml"));
  Save(file, {{L"/K", L"k"}});
  ASSERT_EQ(StoreRemoveNode(file.path().c_str(), L"/L/E[1]"), STORE_OK);
  Save(file, {{L"/V/Inner", L"i"}, {L"/New/Area", L"x"}});
  Save(file, {{L"/L/E[0]/X", L"A"}, {L"/L/E[3]/X", L"d"}, {L"/L/E[4]/X", L"e"}});
  EXPECT_EQ(StoreRevertTo(file.path().c_str(), 9), STORE_E_NOT_FOUND);
  EXPECT_EQ(LastFailure(file.path()), "the history holds no record 9");
  ASSERT_EQ(StoreRevertTo(file.path().c_str(), 1), STORE_OK);
  ASSERT_EQ(file.Save(), STORE_OK);
  std::string bytes;
  size_t length = 0;
  StoreExportText(file.path().c_str(), nullptr, 0, &length);
  bytes.resize(length + 1);
  ASSERT_EQ(StoreExportText(file.path().c_str(), &bytes[0], bytes.size(), &length), STORE_OK);
  bytes.erase(std::remove_if(bytes.begin(), bytes.end(), ::isspace), bytes.end());
  EXPECT_THAT(bytes, HasSubstr("<L><E><X>a</X></E><E><X>b</X></E><E><X>c</X></E></L>"));
  EXPECT_THAT(bytes, HasSubstr("<V>leaf</V>"));
  EXPECT_THAT(bytes, ::testing::Not(HasSubstr("New")));
  EXPECT_EQ(HistoryOf(file.path())["records"][0]["id"], 4);
  // A record whose key names no node here is refused before anything changes.
  WriteTextFile(
      dir.File("s.xml.history"),
      ReadTextFile(dir.File("s.xml.history")) +
          R"({"id":5,"time":"","user":"","host":"","program":"","reason":null,)"
          R"("changes":[{"key":"/K","old":"k","new":"x"},{"key":"K","old":null,"new":"x"}]})"
          "\n");
  EXPECT_EQ(StoreRevertTo(file.path().c_str(), 1), STORE_E_NOT_FOUND);
  EXPECT_EQ(file.Read(L"/K").text, L"k");
}

}  // namespace
