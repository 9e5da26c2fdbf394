// The local copy each read of an etcd prefix leaves: served while no endpoint answers,
// left once one does, ignored where broken or where another user could have planted it.
#include <gmock/gmock.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>

#include "EtcdCluster.h"
#include "KeyTreeStore.h"
#include "StoreTestSupport.h"

namespace {

using ::testing::HasSubstr;

StoreCopyStatus CopyStatus(const std::wstring& path) {
  StoreCopyStatus status{-1, -1, "unset"};
  EXPECT_EQ(StoreGetCopyStatus(path.c_str(), &status), STORE_OK);
  return status;
}

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// One etcd member, and a cache folder of the test's own for the copies.
class LocalCopyTest : public ::testing::Test {
 protected:
  LocalCopyTest() { setenv("DICOMSETTINGS_CACHE_DIR", folder_.c_str(), 1); }
  ~LocalCopyTest() override { unsetenv("DICOMSETTINGS_CACHE_DIR"); }
  // The copies in the folder, by name (not the locks beside them).
  std::vector<std::string> Copies() const {
    std::vector<std::string> copies;
    for (const std::string& name : DirectoryEntries(folder_))
      if (name.rfind(".xml") + 4 == name.size()) copies.push_back(folder_ + "/" + name);
    return copies;
  }
  void Keep(const std::wstring& path, const wchar_t* key, const wchar_t* value) {
    ASSERT_EQ(StoreCreate(path.c_str()), STORE_OK);
    StoreSetValue(path.c_str(), key, value);
    ASSERT_EQ(StoreSave(path.c_str()), STORE_OK);
    ASSERT_EQ(StoreLoad(path.c_str()), STORE_OK);  // a read leaves the copy; a save does not
  }

  TempDir cache_;
  const std::string folder_ = cache_.File("copies");
  EtcdCluster cluster_{1};
  const std::wstring path_ = cluster_.Path("sites/gw");
};

TEST_F(LocalCopyTest, ServedWhileTheClusterIsDownAndLeftOnceItAnswers) {
  Keep(path_, L"/A/L[2]", L"c");
  const std::string copy = Copies().at(0), older = ReadTextFile(copy);
  EXPECT_EQ(ModeOf(folder_), 0700u);
  EXPECT_EQ(ModeOf(copy), 0600u);
  // Another writer saves, this tree reads it, and the copy stays behind (as when
  // writing it failed): a save from it must not take it for the cluster's version.
  const std::wstring other = path_ + L"/", started = path_ + L"//",
                     uncopied = cluster_.Path("sites/none");
  ASSERT_EQ(StoreOpen(other.c_str(), 0), STORE_OK);
  StoreSetValue(other.c_str(), L"/A/X", L"9");
  ASSERT_EQ(StoreSave(other.c_str()), STORE_OK);
  ASSERT_EQ(StoreLoad(path_.c_str()), STORE_OK);
  WriteTextFile(copy, older);

  cluster_.Kill(0);
  ASSERT_EQ(StoreLoad(path_.c_str()), STORE_OK);
  ASSERT_EQ(StoreOpen(started.c_str(), 0), STORE_OK);
  EXPECT_EQ(ReadValue(started, L"/A/L[2]").text, L"c");
  EXPECT_EQ(ReadValue(path_, L"/A/X").result, STORE_E_NOT_FOUND);
  int count = 0;
  StoreGetNodeCount(&count, started.c_str(), L"/A/L");
  EXPECT_EQ(count, 3);
  const StoreCopyStatus status = CopyStatus(started);
  EXPECT_EQ(status.served, 1);
  EXPECT_GT(status.revision, 0);
  EXPECT_EQ(std::strlen(status.kept), 20u);
  char text[4096];
  size_t length = 0;
  ASSERT_EQ(StoreExportText(started.c_str(), text, sizeof text, &length), STORE_OK);
  EXPECT_THAT(text, ::testing::Not(HasSubstr("dicomsettings-copy")));  // the record is no setting
  EXPECT_EQ(StoreOpen(uncopied.c_str(), 0), STORE_E_IO);
  StoreSetValue(path_.c_str(), L"/A/V", L"2");
  EXPECT_EQ(StoreSave(path_.c_str()), STORE_E_IO);
  EXPECT_EQ(ReadValue(path_, L"/A/V").text, L"2");
  EXPECT_EQ(UpdateCheck(path_), 0);

  cluster_.Start(0);
  ASSERT_TRUE(cluster_.WaitHealthy());
  EXPECT_EQ(UpdateCheck(path_), 1);
  ASSERT_EQ(StoreSave(path_.c_str()), STORE_OK);
  EXPECT_EQ(CopyStatus(path_).served, 0);
  ASSERT_EQ(StoreLoad(started.c_str()), STORE_OK);
  EXPECT_EQ(CopyStatus(started).served, 0);
  EXPECT_EQ(ReadValue(started, L"/A/V").text, L"2");
  EXPECT_EQ(ReadValue(started, L"/A/X").text, L"9");
  EXPECT_EQ(Copies().size(), 1u);  // every spelling of the prefix shares it
  EXPECT_THAT(ReadTextFile(copy), HasSubstr("<X>9</X>"));

  // A refusal is no cluster out of reach: a wrong password never opens the copy.
  const std::string etcdctl = cluster_.Etcdctl();
  const std::string auth = etcdctl + "user add root:pw >/dev/null && " + etcdctl + "auth enable";
  ASSERT_EQ(std::system((auth + " >/dev/null").c_str()), 0);
  setenv("DICOMSETTINGS_ETCD_USER", "root", 1);
  setenv("DICOMSETTINGS_ETCD_PASSWORD", "wrong", 1);
  const std::wstring refused = path_ + L"///";
  EXPECT_EQ(StoreOpen(refused.c_str(), 0), STORE_E_IO);
  EXPECT_THAT(LastFailure(refused), HasSubstr("authentication failed"));
  for (const char* name : {"DICOMSETTINGS_ETCD_USER", "DICOMSETTINGS_ETCD_PASSWORD"})
    unsetenv(name);
  for (const std::wstring& path : {path_, other, started}) StoreClose(path.c_str(), 0);
}

TEST_F(LocalCopyTest, CopiesThatDoNotParseOrThatOthersCouldWriteAreIgnored) {
  Keep(path_, L"/A/V", L"1");
  Keep(path_ + L"2", L"/A/V", L"2");  // sorts after this prefix's copy
  for (const std::wstring& path : {path_, path_ + L"2"}) StoreClose(path.c_str(), 0);
  const std::string copy = Copies().at(0), good = ReadTextFile(copy);
  cluster_.Kill(0);
  const auto ignored = [&](const std::string& why) {
    EXPECT_EQ(StoreOpen(path_.c_str(), 0), STORE_E_IO) << why;
    EXPECT_THAT(LastFailure(path_), HasSubstr("connection refused (twice); local copy"));
    EXPECT_THAT(LastFailure(path_), HasSubstr(" ignored: " + why));
  };
  WriteTextFile(copy, good.substr(0, good.size() - 12));
  ignored("it does not parse");
  WriteTextFile(copy, ReadTextFile(Copies().at(1)));
  ignored("it is the copy of another source");
  WriteTextFile(copy, good);
  chmod(copy.c_str(), 0606);
  ignored("it may be written by group or others");
  chmod(copy.c_str(), 0600);
  chmod(folder_.c_str(), 0770);
  ignored("its folder may be written by group or others");
  chmod(folder_.c_str(), 0700);
  std::rename(copy.c_str(), (copy + ".real").c_str());
  ASSERT_EQ(symlink((copy + ".real").c_str(), copy.c_str()), 0);
  ignored("it is a symbolic link");
  std::rename((copy + ".real").c_str(), copy.c_str());
  ASSERT_EQ(StoreOpen(path_.c_str(), 0), STORE_OK);  // otherwise it is served
  EXPECT_EQ(ReadValue(path_, L"/A/V").text, L"1");
  StoreClose(path_.c_str(), 0);
}

}  // namespace
