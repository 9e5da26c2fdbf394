// Change notification on settings kept in a real etcd cluster: another writer's
// save wakes the watcher and its own does not, a change between the read and the
// watch is not missed, a compacted start revision and a killed or hung member
// still leave the next change seen, a member without a leader or a cluster lost
// sends the update check back to asking, and a file that extends the cluster's settings hears of
// their changes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>

#include "EtcdCluster.h"
#include "KeyTreeStore.h"
#include "StoreTestSupport.h"

namespace {

constexpr int kSeenWithinMs = 20000;

// Waits for a change of a watched path: 1 when one came, 0 when none, else
// -1000 - the result.
int WaitForChange(const std::wstring& path, int timeoutMs) {
  int changed = -1;
  const int result = StoreWaitForChange(path.c_str(), timeoutMs, &changed);
  return result == STORE_OK ? changed : -1000 - result;
}

// A save by another writer: a tree of its own through one member's endpoint.
void SaveAsAnother(const EtcdCluster& cluster, int member, const std::string& prefix,
                   const std::wstring& value) {
  const std::string text = "etcd://" + cluster.Endpoint(member) + "/" + prefix;
  const OpenedFile other(std::wstring(text.begin(), text.end()));
  ASSERT_EQ(other.result(), STORE_OK);
  ASSERT_EQ(other.Set(L"/A", value), STORE_OK);
  ASSERT_EQ(other.Save(), STORE_OK);
}

// A prefix holding /A = first, opened for the life of the object.
struct WatchedPrefix {
  WatchedPrefix(const EtcdCluster& cluster, const std::string& prefix)
      : path(cluster.Path(prefix)), created(Create(path)), opened(path) {}
  static int Create(const std::wstring& path) {
    int result = StoreCreate(path.c_str());
    if (result == STORE_OK) result = StoreSetValue(path.c_str(), L"/A", L"first");
    if (result == STORE_OK) result = StoreSave(path.c_str());
    StoreClose(path.c_str(), 1);
    return result;
  }
  int Watch() const {
    int fd = -1;
    return StoreWatch(path.c_str(), &fd);
  }
  std::wstring path;
  int created;
  OpenedFile opened;
};

class EtcdWatchTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { cluster_ = new EtcdCluster(3); }
  static void TearDownTestSuite() { delete cluster_; }
  static EtcdCluster* cluster_;
};
EtcdCluster* EtcdWatchTest::cluster_ = nullptr;

TEST_F(EtcdWatchTest, AnotherWritersSaveWakesTheWatcherAndItsOwnSaveDoesNot) {
  const WatchedPrefix site(*cluster_, "watch/own");
  ASSERT_EQ(site.created, STORE_OK);
  ASSERT_EQ(site.Watch(), STORE_OK);
  ASSERT_EQ(site.opened.Set(L"/A", L"mine"), STORE_OK);
  ASSERT_EQ(site.opened.Save(), STORE_OK);
  EXPECT_EQ(WaitForChange(site.path, 1000), 0) << "its own save woke it";
  EXPECT_EQ(UpdateCheck(site.path), 0);
  SaveAsAnother(*cluster_, 1, "watch/own", L"theirs");
  EXPECT_EQ(WaitForChange(site.path, kSeenWithinMs), 1);
  EXPECT_EQ(UpdateCheck(site.path), 1);
  ASSERT_EQ(StoreLoad(site.path.c_str()), STORE_OK);
  EXPECT_EQ(UpdateCheck(site.path), 0);
  EXPECT_EQ(site.opened.Read(L"/A").text, L"theirs");
}

TEST_F(EtcdWatchTest, ChangesBetweenTheReadAndTheWatchAreSeenEvenWhenCompactedAway) {
  for (const bool compact : {false, true}) {
    const std::string prefix = compact ? "watch/compacted" : "watch/between";
    const WatchedPrefix site(*cluster_, prefix);
    ASSERT_EQ(site.created, STORE_OK);
    SaveAsAnother(*cluster_, 0, prefix, L"between");
    SaveAsAnother(*cluster_, 0, prefix, L"later");
    if (compact) {
      // Compacted past the saves: going on from the oldest revision kept replays none.
      ASSERT_EQ(std::system((cluster_->Etcdctl() + "put unrelated x >/dev/null").c_str()), 0);
      const std::string revision =
          "$(" + cluster_->Etcdctl() + "get x -w fields | sed -n 's/\"Revision\" : //p')";
      ASSERT_EQ(std::system((cluster_->Etcdctl() + "compact " + revision + " >/dev/null").c_str()),
                0);
    }
    ASSERT_EQ(site.Watch(), STORE_OK) << prefix;
    EXPECT_EQ(WaitForChange(site.path, kSeenWithinMs), 1) << prefix;
    // The reload takes what changed; the watch goes on from there.
    ASSERT_EQ(StoreLoad(site.path.c_str()), STORE_OK);
    EXPECT_EQ(WaitForChange(site.path, 500), 0) << prefix;
    SaveAsAnother(*cluster_, 0, prefix, L"after");
    // A stream whose start was compacted away goes on at once, not after the
    // silence bound (10 s).
    EXPECT_EQ(WaitForChange(site.path, 5000), 1) << prefix;
  }
}

TEST_F(EtcdWatchTest, AFileThatExtendsTheClusterHearsOfItsChanges) {
  const WatchedPrefix site(*cluster_, "watch/site");
  ASSERT_EQ(site.created, STORE_OK);
  const TempDir dir;
  const std::string link(site.path.begin(), site.path.end());
  WriteTextFile(dir.File("host.xml"),
                "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                "<Settings extends=\"" +
                    link + "\"><B>b</B></Settings>\n");
  const OpenedFile host(dir.WideFile("host.xml"));
  ASSERT_EQ(host.result(), STORE_OK);
  int fd = -1;
  ASSERT_EQ(StoreWatch(host.path().c_str(), &fd), STORE_OK);
  EXPECT_EQ(WaitForChange(host.path(), 500), 0);
  SaveAsAnother(*cluster_, 2, "watch/site", L"site's");
  EXPECT_EQ(WaitForChange(host.path(), kSeenWithinMs), 1);
  ASSERT_EQ(StoreLoad(host.path().c_str()), STORE_OK);
  EXPECT_EQ(host.Read(L"/A").text, L"site's");
}

// Runs last: it stops and kills members.
TEST_F(EtcdWatchTest, ZMemberHungOrKilledLeavesTheNextChangeSeenAndALostClusterIsAsked) {
  const WatchedPrefix site(*cluster_, "watch/members");
  ASSERT_EQ(site.created, STORE_OK);
  ASSERT_EQ(site.Watch(), STORE_OK);  // on the first member
  // A hung member keeps its connections: only its silence tells.
  cluster_->Signal(0, SIGSTOP);
  SaveAsAnother(*cluster_, 1, "watch/members", L"while hung");
  EXPECT_EQ(WaitForChange(site.path, kSeenWithinMs), 1);
  cluster_->Signal(0, SIGCONT);
  ASSERT_EQ(StoreLoad(site.path.c_str()), STORE_OK);
  // The stream went on with the next member: killed.
  cluster_->Kill(1);
  SaveAsAnother(*cluster_, 2, "watch/members", L"after the kill");
  EXPECT_EQ(WaitForChange(site.path, kSeenWithinMs), 1);
  // One member left, without a leader: it ends the stream, which cannot be made
  // anew; the update check then asks, as without a watch, and says so.
  cluster_->Kill(0);
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (UpdateCheck(site.path) != -1000 - STORE_E_IO && std::chrono::steady_clock::now() < end) {
  }
  EXPECT_EQ(UpdateCheck(site.path), -1000 - STORE_E_IO);
  cluster_->Kill(2);
  // Nor can a watch start: no endpoint creates one.
  ASSERT_EQ(StoreUnwatch(site.path.c_str()), STORE_OK);
  EXPECT_EQ(site.Watch(), STORE_E_IO);
  EXPECT_THAT(LastFailure(site.path), ::testing::HasSubstr("cannot watch"));
}

}  // namespace
