// dicom-settings watch as a process beside writers: it prints each value of the
// keys it watches as others change it, and stops after --count lines or on
// SIGTERM, with exit status 0.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "ChildProcess.h"
#include "EtcdCluster.h"
#include "TempDir.h"

namespace {

// Runs `dicom-settings set FILE KEY VALUE`; its exit status.
int Set(const std::string& file, const std::string& key, const std::string& value) {
  ChildProcess set(DICOMSETTINGS_TOOL, {"set", file, key, value});
  return set.Wait();
}

// Sets /Mwmscu/Port to 5000, 5001, ... until the watcher has printed lines
// lines (it may start watching after the first sets) or 100 sets were made.
std::string ChangeUntilPrinted(ChildProcess& watcher, const std::string& file, size_t lines) {
  std::string out;
  for (int value = 5000;
       value < 5100 && static_cast<size_t>(std::count(out.begin(), out.end(), '\n')) < lines;
       ++value) {
    EXPECT_EQ(Set(file, "/Mwmscu/Port", std::to_string(value)), 0);
    if (!watcher.ReadOutput(&out, 100)) break;
  }
  return out;
}

TEST(WatchCommand, PrintsEachChangeOfTheKeysWatchedAndStopsOnCountOrSignal) {
  TempDir dir;
  const std::string file = dir.File("s.xml");
  WriteTextFile(file, ReadTextFile(DICOMSETTINGS_SAMPLE));
  {
    ChildProcess watcher(DICOMSETTINGS_TOOL, {"watch", file, "/Mwmscu", "--count", "2"});
    ASSERT_EQ(Set(file, "/EchoScu/ClientAeTitle", "NOT_WATCHED"), 0);
    const std::string out = ChangeUntilPrinted(watcher, file, 2);
    EXPECT_EQ(watcher.Wait(), 0) << out;
    EXPECT_EQ(out.find("ClientAeTitle"), std::string::npos) << out;
    EXPECT_NE(out.find("/Mwmscu/Port: "), std::string::npos) << out;
  }
  ChildProcess watcher(DICOMSETTINGS_TOOL, {"watch", "--json", file});
  const std::string out = ChangeUntilPrinted(watcher, file, 1);
  EXPECT_NE(out.find("{\"key\":\"/Mwmscu/Port\",\"old\":\""), std::string::npos) << out;
  watcher.Signal(SIGTERM);
  EXPECT_EQ(watcher.Wait(), 0);
}

TEST(WatchCommand, JsonLinesOnAnEtcdPrefixCarryTheRevision) {
  EtcdCluster cluster(1);
  const std::wstring wide = cluster.Path("sites/watched");
  const std::string path(wide.begin(), wide.end());
  ChildProcess init(DICOMSETTINGS_TOOL, {"init", path});
  ASSERT_EQ(init.Wait(), 0);
  ChildProcess watcher(DICOMSETTINGS_TOOL, {"watch", "--json", "--count", "1", path});
  const std::string out = ChangeUntilPrinted(watcher, path, 1);
  EXPECT_EQ(watcher.Wait(), 0) << out;
  const nlohmann::json line = nlohmann::json::parse(out.substr(0, out.find('\n')));
  EXPECT_EQ(line["key"], "/Mwmscu/Port");
  EXPECT_GT(line["revision"].get<long long>(), 1);
}

}  // namespace
