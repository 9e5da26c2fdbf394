// A writer killed (SIGKILL) at random moments while it saves a settings file over
// and over: the file must always be one whole version that the writer saved, the
// newest record its history holds as saved that version's, and the next save must
// remove whatever temporary file the kill left behind.
#include <gtest/gtest.h>

#include <random>

#include "ChildProcess.h"
#include "StoreTestSupport.h"
#include "VersionedFile.h"

namespace {

// The last whole line of the worker's output as a number, or -1.
long LastReported(const std::string& out) {
  const size_t end = out.rfind('\n');
  if (end == std::string::npos) return -1;
  const size_t start = out.rfind('\n', end - 1);
  return std::atol(out.c_str() + (start == std::string::npos ? 0 : start + 1));
}

TEST(CrashDuringSave, FileIsAlwaysOneWholeSavedVersion) {
  TempDir dir;
  const std::string name = dir.File("settings.xml");
  const std::wstring path = dir.WideFile("settings.xml");
  WriteTextFile(name, SettingsXml(""));
  {
    OpenedFile file(path);
    ASSERT_TRUE(SetVersion(path, 0));
    ASSERT_EQ(file.Save(), STORE_OK);
  }
  const int kills = Iterations("STORE_STRESS_KILLS", 60);
  std::mt19937 random(20240601);
  int leftTemporary = 0;
  int renamedUnreported = 0;
  for (int k = 0; k < kills; ++k) {
    std::string out;
    {
      ChildProcess worker(STORE_WORKER, {"save-loop", name, std::to_string((k + 1) * 1000000L)});
      ASSERT_TRUE(worker.started());
      // The kill lands while the worker is in its loop of saves, at a random point.
      for (int waited = 0; out.find('\n') == std::string::npos && waited < 100; ++waited) {
        ASSERT_TRUE(worker.ReadOutput(&out, 100)) << "worker ended: " << worker.Wait();
      }
      ASSERT_NE(out.find('\n'), std::string::npos) << "worker saved nothing";
      usleep(std::uniform_int_distribution<useconds_t>(0, 15000)(random));
      worker.Kill();
      while (worker.ReadOutput(&out, 0)) {
      }
    }
    const long reported = LastReported(out);
    StoreParseError error;
    ASSERT_EQ(StoreCheckFile(path.c_str(), &error), STORE_OK)
        << "kill " << k << ": line " << error.line << ": " << error.text;
    if (DirectoryEntries(dir.path()).size() > 3) ++leftTemporary;
    {
      OpenedFile file(path);
      ASSERT_EQ(file.result(), STORE_OK);
      const long version = VersionOf(path);
      ASSERT_TRUE(version == reported || version == reported + 1)
          << "kill " << k << ": file holds " << version << ", last save reported " << reported;
      if (version == reported + 1) ++renamedUnreported;
      // The newest record the history holds as saved is the save of that version.
      const nlohmann::json history = HistoryOf(path);
      ASSERT_TRUE(history.is_object());
      const auto saved = std::find_if(history["records"].begin(), history["records"].end(),
                                      [](const nlohmann::json& r) { return r["saved"] == true; });
      ASSERT_NE(saved, history["records"].end()) << "kill " << k;
      EXPECT_EQ(
          (*saved)["changes"][0]["new"].get<std::string>().rfind(std::to_string(version) + ":"), 0u)
          << "kill " << k;
      ASSERT_EQ(file.Set(L"/Kills", std::to_wstring(k + 1)), STORE_OK);
      ASSERT_EQ(file.Save(), STORE_OK);
    }
    ASSERT_EQ(
        DirectoryEntries(dir.path()),
        (std::vector<std::string>{"settings.xml", "settings.xml.history", "settings.xml.lock"}))
        << "kill " << k;
  }
  std::printf(
      "%d kills survived: %d left a temporary file, %d after the rename before the report\n", kills,
      leftTemporary, renamedUnreported);
}

}  // namespace
