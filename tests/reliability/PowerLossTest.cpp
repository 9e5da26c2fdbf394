// A save and its record cut off by a power loss at every step in turn: after the
// restart the settings file is the old or the new version whole, and its history
// tells which (a record of the save is there and marked saved only when the file
// is the new one).
#include <gtest/gtest.h>

#include <cstdlib>

#include "PowerLossFileSystem.h"
#include "StoreTestSupport.h"

namespace {

struct Case {
  const char* name;
  const char* limit;  // DICOMSETTINGS_HISTORY_LIMIT
  bool earlier;       // a record of an earlier save is there
  const char* tail;   // appended to the history: a damaged line
};

const Case kCases[] = {
    {"the first record", "1000", false, ""},
    {"a record appended", "1000", true, ""},
    {"the history trimmed to one record", "1", true, ""},
    {"a damaged history moved aside", "1000", true, "{\"id\": 7, \"ti"},
};

// Whether a record changed /A to text.
bool SetsA(const nlohmann::json& record, const char* text) {
  for (const auto& change : record["changes"]) {
    if (change["key"] == "/A" && change["new"] == text) return true;
  }
  return false;
}

TEST(PowerLoss, EveryStepOfASaveLeavesAWholeFileAndATrueHistory) {
  int steps = 0;
  for (const Case& c : kCases) {
    setenv("DICOMSETTINGS_HISTORY_LIMIT", c.limit, 1);
    for (int step = 1;; ++step) {
      TempDir dir;
      const std::wstring path = dir.WideFile("s.xml");
      WriteTextFile(dir.File("s.xml"), SettingsXml("<A>older</A>"));
      {
        OpenedFile file(path);
        ASSERT_EQ(file.Set(L"/A", L"old"), STORE_OK);
        ASSERT_EQ(file.Save(), STORE_OK);
      }
      if (!c.earlier) std::remove(dir.File("s.xml.history").c_str());
      WriteTextFile(dir.File("s.xml.history"), ReadTextFile(dir.File("s.xml.history")) + c.tail);
      PowerLossFileSystem power(dir.path(), step);
      {
        OpenedFile file(path);
        ASSERT_EQ(file.Set(L"/A", L"new"), STORE_OK);
        keytreestore::ScopedFileSystem use(power);
        const int result = file.Save();
        if (!power.lost()) {
          EXPECT_EQ(result, STORE_OK) << c.name;
        }
      }
      if (!power.lost()) break;
      ++steps;
      power.Restore();
      const std::string where =
          std::string(c.name) + ", power lost at step " + std::to_string(step);
      const StoreRead a = ReadFromDisk(path, L"/A");
      ASSERT_TRUE(a.text == L"old" || a.text == L"new") << where;
      const nlohmann::json history = HistoryOf(path);
      ASSERT_TRUE(history.is_object()) << where;
      const nlohmann::json& records = history["records"];
      const bool recorded = !records.empty() && SetsA(records[0], "new");
      if (a.text == L"new") {
        ASSERT_TRUE(recorded) << where << ": the new file has no record";
        EXPECT_EQ(records[0]["saved"], true) << where;
      } else if (recorded) {
        EXPECT_EQ(records[0]["saved"], false) << where << ": a record claims a save not made";
      }
    }
  }
  unsetenv("DICOMSETTINGS_HISTORY_LIMIT");
  std::printf("%d steps of a save with its record cut off by a power loss\n", steps);
}

}  // namespace
