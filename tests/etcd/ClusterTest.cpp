// The store on settings kept in a real etcd cluster: a whole file through the
// cluster and back, concurrent writers, the update check, faults and a leader
// lost between two saves.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "EtcdCluster.h"
#include "KeyTreeStore.h"
#include "StoreTestSupport.h"
#include "tree/SettingsDocument.h"

namespace {

std::wstring Get(const std::wstring& path, const std::wstring& key) {
  const StoreRead read = ReadValue(path, key.c_str());
  return read.result == STORE_OK ? read.text : L"error " + std::to_wstring(read.result);
}

// Every element's key below node ("/A/B[1]"), in document order.
void CollectKeys(pugi::xml_node node, const std::wstring& key, std::vector<std::wstring>* keys) {
  std::map<std::string, int> seen;
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    if (child.type() != pugi::node_element) continue;
    const std::string name = child.name();
    const std::wstring childKey = key + L"/" + std::wstring(name.begin(), name.end()) + L"[" +
                                  std::to_wstring(seen[name]++) + L"]";
    keys->push_back(childKey);
    CollectKeys(child, childKey, keys);
  }
}

class ClusterTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { cluster_ = new EtcdCluster(1); }
  static void TearDownTestSuite() { delete cluster_; }
  static EtcdCluster* cluster_;
};
EtcdCluster* ClusterTest::cluster_ = nullptr;

TEST_F(ClusterTest, SampleFileMovesThroughTheClusterWithEveryKeyIndexAndCount) {
  keytreestore::SettingsDocument sample;
  ASSERT_EQ(sample.Parse(ReadTextFile(DICOMSETTINGS_SAMPLE), nullptr), STORE_OK);
  std::vector<std::wstring> keys;
  CollectKeys(sample.Root(), L"", &keys);
  const std::string file = DICOMSETTINGS_SAMPLE;
  const std::wstring source(file.begin(), file.end());
  const std::wstring target = cluster_->Path("sites/round-trip");
  ASSERT_EQ(StoreOpen(source.c_str(), 0), STORE_OK);
  ASSERT_EQ(StoreOpen(target.c_str(), 0), STORE_E_NO_FILE);
  ASSERT_EQ(StoreCreate(target.c_str()), STORE_OK);
  for (const std::wstring& key : keys) {
    ASSERT_EQ(StoreSetValue(target.c_str(), key.c_str(), Get(source, key).c_str()), STORE_OK);
  }
  // Values the line form must escape, and same-named areas past ten.
  const std::vector<std::pair<std::wstring, std::wstring>> odd{
      {L"/Odd/Text", L"a\\nb\nc=d\\"}, {L"/Odd/Empty", L""}, {L"/Many[11]/V", L"eleven"}};
  for (const auto& set : odd) StoreSetValue(target.c_str(), set.first.c_str(), set.second.c_str());
  ASSERT_EQ(StoreSave(target.c_str()), STORE_OK);
  ASSERT_EQ(StoreClose(target.c_str(), 0), STORE_OK);
  ASSERT_EQ(StoreOpen(target.c_str(), 0), STORE_OK);
  for (const std::wstring& key : keys) {
    EXPECT_EQ(Get(target, key), Get(source, key)) << key;
    int fromFile = -1, fromCluster = -2;
    StoreGetNodeCount(&fromFile, source.c_str(), key.c_str());
    StoreGetNodeCount(&fromCluster, target.c_str(), key.c_str());
    EXPECT_EQ(fromCluster, fromFile) << key;
  }
  for (const auto& set : odd) EXPECT_EQ(Get(target, set.first), set.second);
  int areas = 0;
  StoreGetNodeCount(&areas, target.c_str(), L"/Many");
  EXPECT_EQ(areas, 12);
  StoreClose(target.c_str(), 0);
  StoreClose(source.c_str(), 0);
}

TEST_F(ClusterTest, TwoProcessesSavingOnePrefixLoseNoUpdate) {
  const std::wstring path = cluster_->Path("sites/shared");
  ASSERT_EQ(StoreCreate(path.c_str()), STORE_OK);
  ASSERT_EQ(StoreSetValue(path.c_str(), L"/Shared/Started", L"1"), STORE_OK);
  ASSERT_EQ(StoreSave(path.c_str()), STORE_OK);
  ASSERT_EQ(StoreClose(path.c_str(), 0), STORE_OK);
  constexpr int kRounds = 25;
  std::vector<std::unique_ptr<ChildProcess>> writers;
  for (int w = 0; w < 2; ++w) {
    writers.push_back(std::make_unique<ChildProcess>([&path, w] {
      if (StoreOpen(path.c_str(), 0) != STORE_OK) return 2;
      for (int round = 0; round < kRounds; ++round) {
        const std::wstring key =
            L"/Shared/P" + std::to_wstring(w) + L"/R[" + std::to_wstring(round) + L"]";
        StoreSetValue(path.c_str(), key.c_str(), std::to_wstring(round).c_str());
        if (StoreSave(path.c_str()) != STORE_OK) return 3;
      }
      return 0;
    }));
  }
  for (auto& writer : writers) EXPECT_EQ(writer->Wait(), 0);
  ASSERT_EQ(StoreOpen(path.c_str(), 0), STORE_OK);
  for (const wchar_t* writer : {L"/Shared/P0/R", L"/Shared/P1/R"}) {
    int count = 0;
    StoreGetNodeCount(&count, path.c_str(), writer);
    EXPECT_EQ(count, kRounds) << writer;
    EXPECT_EQ(Get(path, std::wstring(writer) + L"[24]"), L"24");
  }
  // One record a save, numbered in the order the saves took effect.
  const nlohmann::json records = HistoryOf(path)["records"];
  ASSERT_EQ(records.size(), 1u + 2 * kRounds);
  for (size_t i = 0; i < records.size(); ++i) EXPECT_EQ(records[i]["id"], records.size() - i);
  StoreClose(path.c_str(), 0);
}

// The ids of the records listed, newest first.
std::vector<long long> RecordIds(const std::wstring& path) {
  std::vector<long long> ids;
  const nlohmann::json history = HistoryOf(path);
  for (const auto& record : history["records"]) ids.push_back(record["id"]);
  return ids;
}

TEST_F(ClusterTest, HistoryRidesInTheSaveTrimsAtItsLimitAndOutlivesCompaction) {
  setenv("DICOMSETTINGS_HISTORY_LIMIT", "3", 1);
  const std::wstring mine = cluster_->Path("sites/audited");
  const std::wstring other = mine + L"/";
  ASSERT_EQ(StoreCreate(mine.c_str()), STORE_OK);
  ASSERT_EQ(StoreSetValue(mine.c_str(), L"/A/V", L"1"), STORE_OK);
  ASSERT_EQ(StoreSave(mine.c_str()), STORE_OK);
  // A save that changes nothing keeps no record.
  ASSERT_EQ(StoreSetValue(mine.c_str(), L"/A/V", L"1"), STORE_OK);
  ASSERT_EQ(StoreSave(mine.c_str()), STORE_OK);
  EXPECT_EQ(RecordIds(mine), std::vector<long long>{1});
  // Another writer's save in between: the retry records once, over its value.
  ASSERT_EQ(StoreOpen(other.c_str(), 0), STORE_OK);
  ASSERT_EQ(StoreSetValue(other.c_str(), L"/A/V", L"theirs"), STORE_OK);
  ASSERT_EQ(StoreSave(other.c_str()), STORE_OK);
  ASSERT_EQ(StoreSetChangeReason(mine.c_str(), L"mine wins"), STORE_OK);
  ASSERT_EQ(StoreSetValue(mine.c_str(), L"/A/V", L"2"), STORE_OK);
  ASSERT_EQ(StoreSave(mine.c_str()), STORE_OK);
  const nlohmann::json newest = HistoryOf(mine)["records"][0];
  EXPECT_EQ(newest["id"], 3);
  EXPECT_EQ(newest["reason"], "mine wins");
  EXPECT_EQ(newest["changes"],
            nlohmann::json::parse(R"([{"key":"/A/V","old":"theirs","new":"2"}])"));
  for (const wchar_t* value : {L"3", L"4"}) {
    ASSERT_EQ(StoreSetValue(mine.c_str(), L"/A/V", value), STORE_OK);
    ASSERT_EQ(StoreSave(mine.c_str()), STORE_OK);
  }
  EXPECT_EQ(RecordIds(mine), (std::vector<long long>{5, 4, 3}));
  // The records are keys of their own, readable with etcdctl, and outlive a compaction.
  const std::string keys = cluster_->Etcdctl() + "get --prefix --keys-only /sites/audited/.changes";
  const std::string revision = R"( | sed 's/.*"revision":\([0-9]*\).*/\1/')";
  const std::string compact = cluster_->Etcdctl() + "compact $(" + cluster_->Etcdctl() +
                              "get /none -w json" + revision + ")";
  EXPECT_EQ(std::system((keys + " | grep -c . | grep -qx 4").c_str()), 0);
  ASSERT_EQ(std::system((compact + " >/dev/null").c_str()), 0);
  EXPECT_EQ(RecordIds(mine), (std::vector<long long>{5, 4, 3}));
  // Back to what record 3 left: one save, recorded itself.
  ASSERT_EQ(StoreRevertTo(mine.c_str(), 3), STORE_OK);
  ASSERT_EQ(StoreSave(mine.c_str()), STORE_OK);
  EXPECT_EQ(ReadValue(other, L"/A/V").text, L"theirs");
  ASSERT_EQ(StoreLoad(other.c_str()), STORE_OK);
  EXPECT_EQ(Get(other, L"/A/V"), L"2");
  EXPECT_EQ(StoreRevertTo(mine.c_str(), 2), STORE_E_NOT_FOUND);
  EXPECT_EQ(LastFailure(mine), "record 2 was dropped from the history (the oldest kept is 4)");
  unsetenv("DICOMSETTINGS_HISTORY_LIMIT");
  for (const std::wstring& path : {other, mine}) StoreClose(path.c_str(), 0);
}

TEST_F(ClusterTest, UpdateCheckSeesAnotherWritersSaveUntilReloaded) {
  const std::wstring mine = cluster_->Path("sites/watched");
  const std::wstring other = mine + L"/";  // the same prefix, another tree
  ASSERT_EQ(StoreCreate(mine.c_str()), STORE_OK);
  ASSERT_EQ(StoreSetValue(mine.c_str(), L"/A/V", L"1"), STORE_OK);
  ASSERT_EQ(StoreSave(mine.c_str()), STORE_OK);
  ASSERT_EQ(StoreOpen(other.c_str(), 0), STORE_OK);
  int updated = -1;
  ASSERT_EQ(StoreDataUpdateCheck(&updated, mine.c_str()), STORE_OK);
  EXPECT_EQ(updated, 0);
  ASSERT_EQ(StoreSetValue(other.c_str(), L"/B/V", L"2"), STORE_OK);
  ASSERT_EQ(StoreSave(other.c_str()), STORE_OK);
  StoreDataUpdateCheck(&updated, other.c_str());
  EXPECT_EQ(updated, 0);
  StoreDataUpdateCheck(&updated, mine.c_str());
  EXPECT_EQ(updated, 1);
  // A save takes in what the other wrote, keeping this process's change.
  ASSERT_EQ(StoreSetValue(mine.c_str(), L"/A/V", L"3"), STORE_OK);
  ASSERT_EQ(StoreSave(mine.c_str()), STORE_OK);
  EXPECT_EQ(Get(mine, L"/B/V"), L"2");
  StoreDataUpdateCheck(&updated, mine.c_str());
  EXPECT_EQ(updated, 0);
  StoreDataUpdateCheck(&updated, other.c_str());
  EXPECT_EQ(updated, 1);
  ASSERT_EQ(StoreLoad(other.c_str()), STORE_OK);
  EXPECT_EQ(Get(other, L"/A/V"), L"3");
  StoreClose(other.c_str(), 0);
  StoreClose(mine.c_str(), 0);
}

TEST_F(ClusterTest, MalformedKeptSettingsAreRefusedNamingTheKey) {
  // Which lines are malformed is etcd_text_test's; here, that the store refuses them.
  ASSERT_EQ(std::system((cluster_->Etcdctl() + "put /bad/Area -- noequals >/dev/null").c_str()), 0);
  const std::wstring path = cluster_->Path("bad");
  StoreParseError error;
  EXPECT_EQ(StoreCheckFile(path.c_str(), &error), STORE_E_PARSE);
  EXPECT_NE(std::string(error.text).find("/bad/Area"), std::string::npos) << error.text;
  EXPECT_EQ(StoreOpen(path.c_str(), 0), STORE_E_PARSE);
}

TEST_F(ClusterTest, HostsExtendTheirSiteFromANestedPrefixAndFromAFile) {
  const std::wstring site = cluster_->Path("sites/rad-a");
  const std::wstring host = cluster_->Path("sites/rad-a/hosts/gw-3");
  ASSERT_EQ(StoreCreate(site.c_str()), STORE_OK);
  for (const wchar_t* key : {L"/E/Ae", L"/E/C[0]/N", L"/E/C[1]/N"}) {
    ASSERT_EQ(StoreSetValue(site.c_str(), key, L"site"), STORE_OK);
  }
  ASSERT_EQ(StoreSave(site.c_str()), STORE_OK);
  ASSERT_EQ(StoreCreateChild(host.c_str(), site.c_str()), STORE_OK);
  ASSERT_EQ(StoreSetValue(host.c_str(), L"/E/Ae", L"GW3"), STORE_OK);
  ASSERT_EQ(StoreSave(host.c_str()), STORE_OK);
  // The site's own tree neither reads the host's keys nor writes them.
  ASSERT_EQ(StoreLoad(site.c_str()), STORE_OK);
  int count = 0;
  StoreGetNodeCount(&count, site.c_str(), L"/E");
  EXPECT_EQ(count, 1);
  ASSERT_EQ(StoreSetValue(site.c_str(), L"/E/Port", L"105"), STORE_OK);
  ASSERT_EQ(StoreSave(site.c_str()), STORE_OK);
  EXPECT_EQ(UpdateCheck(host), 1);
  ASSERT_EQ(StoreLoad(host.c_str()), STORE_OK);
  EXPECT_EQ(Get(host, L"/E/Ae"), L"GW3");
  EXPECT_EQ(Get(host, L"/E/Port"), L"105");
  // A host file over the site prefix takes a list in whole before writing into it.
  TempDir dir;
  const std::string file = dir.File("host.xml");
  const std::string link(site.begin(), site.end());
  ReplaceOnDisk(file, "<Settings extends=\"" + link + "\"><E><Ae>file</Ae></E></Settings>");
  const std::wstring fileHost(file.begin(), file.end());
  ASSERT_EQ(StoreOpen(fileHost.c_str(), 0), STORE_OK);
  ASSERT_EQ(StoreSetValue(fileHost.c_str(), L"/E/C[1]/N", L"mine"), STORE_OK);
  ASSERT_EQ(StoreSave(fileHost.c_str()), STORE_OK);
  EXPECT_EQ(Get(fileHost, L"/E/C[0]/N"), L"site");
  EXPECT_EQ(UpdateCheck(site), 0);
  EXPECT_EQ(ReadFromDisk(fileHost, L"/E/C[1]/N").text, L"mine");
  for (const std::wstring& path : {fileHost, host, site}) StoreClose(path.c_str(), 0);
}

TEST_F(ClusterTest, RemovedAreasAndEntriesLeaveThePrefixInTheSameSave) {
  const std::wstring path = cluster_->Path("sites/removals");
  ASSERT_EQ(StoreCreate(path.c_str()), STORE_OK);
  for (const wchar_t* key : {L"/A/V", L"/Many[0]/V", L"/Many[1]/V", L"/Many[2]/V", L"/L/E[1]"}) {
    ASSERT_EQ(StoreSetValue(path.c_str(), key, key), STORE_OK);
  }
  ASSERT_EQ(StoreSave(path.c_str()), STORE_OK);
  for (const wchar_t* key : {L"/A", L"/Many[0]", L"/L/E[0]"}) {
    ASSERT_EQ(StoreRemoveNode(path.c_str(), key), STORE_OK) << key;
  }
  ASSERT_EQ(StoreSave(path.c_str()), STORE_OK);
  const std::wstring reader = path + L"/";
  ASSERT_EQ(StoreOpen(reader.c_str(), 0), STORE_OK);
  EXPECT_EQ(Get(reader, L"/A/V"), L"error 2");
  EXPECT_EQ(Get(reader, L"/Many[1]/V"), L"/Many[2]/V");
  EXPECT_EQ(Get(reader, L"/L/E[0]"), L"/L/E[1]");
  int count = 0;
  StoreGetNodeCount(&count, reader.c_str(), L"/Many");
  EXPECT_EQ(count, 2);
  EXPECT_EQ(UpdateCheck(path), 0);
  for (const std::wstring& open : {reader, path}) StoreClose(open.c_str(), 0);
}

TEST(ClusterFaultTest, UnreachableClusterFailsWithinItsBound) {
  // One endpoint refuses connections, the other accepts them and never answers.
  int port = 0;
  const int silent = BoundLoopbackSocket(&port);
  listen(silent, 8);
  const std::string refusing = "127.0.0.1:" + std::to_string(FreePort());
  const std::string silentAt = "127.0.0.1:" + std::to_string(port);
  const std::string text = "etcd://" + refusing + "," + silentAt + "/x";
  const std::wstring path(text.begin(), text.end());
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(StoreOpen(path.c_str(), 0), STORE_E_IO);
  // Two rounds over two endpoints of at most 2 s each, and the pause between.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(9000));
  close(silent);
  EXPECT_EQ(LastFailure(path), "etcd " + refusing + ": connection refused (twice); etcd " +
                                   silentAt + ": no answer within 2000 ms (twice)");
}

TEST(ClusterFaultTest, SaveThatCannotCommitKeepsItsValuesForALaterSave) {
  EtcdCluster cluster(1);
  const std::wstring path = cluster.Path("sites/down");
  ASSERT_EQ(StoreCreate(path.c_str()), STORE_OK);
  ASSERT_EQ(StoreSetValue(path.c_str(), L"/A/V", L"kept"), STORE_OK);
  cluster.Kill(0);
  EXPECT_EQ(StoreSave(path.c_str()), STORE_E_IO);
  EXPECT_EQ(Get(path, L"/A/V"), L"kept");
  cluster.Start(0);
  ASSERT_TRUE(cluster.WaitHealthy());
  ASSERT_EQ(StoreSave(path.c_str()), STORE_OK);
  const std::wstring reader = path + L"/";
  ASSERT_EQ(StoreOpen(reader.c_str(), 0), STORE_OK);
  EXPECT_EQ(Get(reader, L"/A/V"), L"kept");
  StoreClose(reader.c_str(), 0);
  StoreClose(path.c_str(), 0);
}

TEST(ClusterFaultTest, SaveCommitsThroughTheOthersWhenTheLeaderIsKilled) {
  EtcdCluster cluster(3);
  const std::wstring path = cluster.Path("sites/ha");
  ASSERT_EQ(StoreCreate(path.c_str()), STORE_OK);
  ASSERT_EQ(StoreSetValue(path.c_str(), L"/A/V", L"1"), STORE_OK);
  ASSERT_EQ(StoreSave(path.c_str()), STORE_OK);
  // The leader is the member whose status names itself as leader.
  int leader = -1;
  for (int i = 0; i < 3 && leader < 0; ++i) {
    const std::string command = "etcdctl --endpoints=" + cluster.Endpoint(i) +
                                " endpoint status | awk -F', ' '{exit $5 == \"true\" ? 0 : 1}'";
    if (std::system(command.c_str()) == 0) leader = i;
  }
  ASSERT_GE(leader, 0);
  cluster.Kill(leader);
  ASSERT_EQ(StoreSetValue(path.c_str(), L"/A/V", L"2"), STORE_OK);
  EXPECT_EQ(StoreSave(path.c_str()), STORE_OK);
  const std::wstring reader = cluster.Path("sites/ha");
  ASSERT_EQ(StoreOpen(reader.c_str(), 0), STORE_OK);
  EXPECT_EQ(Get(reader, L"/A/V"), L"2");
  StoreClose(reader.c_str(), 0);
  StoreClose(path.c_str(), 0);
}

}  // namespace
