// Change notification on files: every way another writer changes a file wakes
// the watcher, a save of its own does not, a change made before the watch started
// is not missed, and the update check answers from the watch.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "StoreTestSupport.h"

namespace {

struct Change {
  const char* how;
  std::function<void(const std::string& name, const std::wstring& path)> make;
};

const Change kChanges[] = {
    {"another writer's save (a rename into place)",
     [](const std::string&, const std::wstring& path) {
       const std::wstring other = OtherPathText(path);
       OpenedFile file(other);
       file.Set(L"/A", L"theirs");
       file.Save();
     }},
    {"a write in place", [](const std::string& name,
                            const std::wstring&) { WriteTextFile(name, SettingsXml("<A>w</A>")); }},
    {"a delete and a new file",
     [](const std::string& name, const std::wstring&) {
       std::remove(name.c_str());
       WriteTextFile(name, SettingsXml("<A>new</A>"));
     }},
};

TEST(Watch, EveryChangeByAnotherWakesTheWatcherAndItsOwnSaveDoesNot) {
  for (const Change& change : kChanges) {
    TempDir dir;
    const std::string name = dir.File("s.xml");
    WriteTextFile(name, SettingsXml("<A>old</A>"));
    OpenedFile file(dir.WideFile("s.xml"));
    int fd = -1;
    ASSERT_EQ(StoreWatch(file.path().c_str(), &fd), STORE_OK);
    int changed = -1;
    ASSERT_EQ(file.Set(L"/A", L"mine"), STORE_OK);
    ASSERT_EQ(file.Save(), STORE_OK);
    ASSERT_EQ(StoreWaitForChange(file.path().c_str(), 300, &changed), STORE_OK);
    EXPECT_EQ(changed, 0) << change.how << ": its own save woke it";
    EXPECT_EQ(UpdateCheck(file.path()), 0);
    change.make(name, file.path());
    ASSERT_EQ(StoreWaitForChange(file.path().c_str(), 5000, &changed), STORE_OK);
    EXPECT_EQ(changed, 1) << change.how;
    pollfd readable = {fd, POLLIN, 0};
    EXPECT_EQ(poll(&readable, 1, 0), 0) << change.how << ": the wait reads the descriptor empty";
    EXPECT_EQ(UpdateCheck(file.path()), 1) << change.how;
    ASSERT_EQ(StoreLoad(file.path().c_str()), STORE_OK);
    EXPECT_EQ(UpdateCheck(file.path()), 0) << change.how;
  }
}

TEST(Watch, AChangeBeforeTheWatchStartedIsSeen) {
  TempDir dir;
  const std::string name = dir.File("s.xml");
  WriteTextFile(name, SettingsXml("<A>old</A>"));
  OpenedFile file(dir.WideFile("s.xml"));
  ReplaceOnDisk(name, SettingsXml("<A>between</A>"));
  int fd = -1;
  ASSERT_EQ(StoreWatch(file.path().c_str(), &fd), STORE_OK);
  pollfd readable = {fd, POLLIN, 0};
  EXPECT_EQ(poll(&readable, 1, 0), 1);
  EXPECT_EQ(UpdateCheck(file.path()), 1);
  ASSERT_EQ(StoreUnwatch(file.path().c_str()), STORE_OK);
  int changed = -1;
  EXPECT_EQ(StoreWaitForChange(file.path().c_str(), 0, &changed), STORE_E_BAD_ARGUMENT);
}

}  // namespace

namespace {

TEST(Watch, ALoadThatChangesTheChainWatchesTheNewSources) {
  TempDir dir;
  const auto extending = [&](const std::string& site) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Settings extends=\"" + site +
           "\"><B>b</B></Settings>\n";
  };
  WriteTextFile(dir.File("one.xml"), SettingsXml("<A>one</A>"));
  WriteTextFile(dir.File("two.xml"), SettingsXml("<A>two</A>"));
  WriteTextFile(dir.File("host.xml"), extending("one.xml"));
  OpenedFile host(dir.WideFile("host.xml"));
  int fd = -1;
  ASSERT_EQ(StoreWatch(host.path().c_str(), &fd), STORE_OK);
  int changed = -1;
  ReplaceOnDisk(dir.File("one.xml"), SettingsXml("<A>one changed</A>"));
  ASSERT_EQ(StoreWaitForChange(host.path().c_str(), 5000, &changed), STORE_OK);
  EXPECT_EQ(changed, 1) << "a change of the source it extends";
  ReplaceOnDisk(dir.File("host.xml"), extending("two.xml"));
  ASSERT_EQ(StoreLoad(host.path().c_str()), STORE_OK);
  ASSERT_EQ(StoreWaitForChange(host.path().c_str(), 300, &changed), STORE_OK);
  EXPECT_EQ(changed, 0) << "the change of the link was loaded";
  ReplaceOnDisk(dir.File("two.xml"), SettingsXml("<A>two changed</A>"));
  ASSERT_EQ(StoreWaitForChange(host.path().c_str(), 5000, &changed), STORE_OK);
  EXPECT_EQ(changed, 1) << "a change of the source it extends since the load";
}

}  // namespace

namespace {

TEST(Watch, ABurstOfSavesWakesOnceAndALoadTakesTheLast) {
  TempDir dir;
  WriteTextFile(dir.File("s.xml"), SettingsXml("<A>0</A>"));
  OpenedFile file(dir.WideFile("s.xml"));
  int fd = -1;
  ASSERT_EQ(StoreWatch(file.path().c_str(), &fd), STORE_OK);
  OpenedFile other(OtherPathText(file.path()));
  for (int i = 1; i <= 1000; ++i) {
    ASSERT_EQ(other.Set(L"/A", std::to_wstring(i)), STORE_OK);
    ASSERT_EQ(other.Save(), STORE_OK);
  }
  int changed = -1;
  ASSERT_EQ(StoreWaitForChange(file.path().c_str(), 5000, &changed), STORE_OK);
  EXPECT_EQ(changed, 1);
  ASSERT_EQ(StoreLoad(file.path().c_str()), STORE_OK);
  EXPECT_EQ(file.Read(L"/A").text, L"1000");
  // Signs of the burst still arriving find nothing newer than the load.
  ASSERT_EQ(StoreWaitForChange(file.path().c_str(), 500, &changed), STORE_OK);
  EXPECT_EQ(changed, 0);
}

TEST(Watch, AFolderGoneCannotBeWatchedAndTheCheckStillAsks) {
  TempDir dir;
  const std::string folder = dir.File("gone");
  mkdir(folder.c_str(), 0700);
  WriteTextFile(folder + "/s.xml", SettingsXml("<A>0</A>"));
  OpenedFile file(dir.WideFile("gone/s.xml"));
  std::remove((folder + "/s.xml").c_str());
  rmdir(folder.c_str());
  int fd = -1;
  EXPECT_EQ(StoreWatch(file.path().c_str(), &fd), STORE_E_IO);
  EXPECT_EQ(UpdateCheck(file.path()), 1);
}

}  // namespace
