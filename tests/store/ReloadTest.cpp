// Reloading and change detection: StoreLoad drops unsaved changes but keeps the tree
// when the file no longer parses or is gone; StoreDataUpdateCheck sees every other
// writer's change and none of this process's own saves.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <functional>

#include "StoreTestSupport.h"

namespace {

class Reload : public SettingsFileTest {
 protected:
  void SetUp() override { Open(SettingsXml("<A>disk</A>")); }
};

TEST_F(Reload, LoadDropsUnsavedChangesAndReadsTheNewFile) {
  ASSERT_EQ(StoreSetValue(path_.c_str(), L"/A", L"unsaved"), STORE_OK);
  ASSERT_EQ(StoreLoad(path_.c_str()), STORE_OK);
  EXPECT_EQ(ReadValue(path_, L"/A"), (StoreRead{STORE_OK, L"disk"}));
  ReplaceOnDisk(name_, SettingsXml("<A>other</A>"));
  ASSERT_EQ(StoreLoad(path_.c_str()), STORE_OK);
  EXPECT_EQ(ReadValue(path_, L"/A"), (StoreRead{STORE_OK, L"other"}));
  // A change dropped by a load is not brought back by a later save.
  ASSERT_EQ(StoreSave(path_.c_str()), STORE_OK);
  EXPECT_EQ(ReadFromDisk(path_, L"/A"), (StoreRead{STORE_OK, L"other"}));
}

// (A file that no longer parses is the fail-closed test's.)
TEST_F(Reload, LoadOfAFileGoneKeepsTheTreeAsItWas) {
  ASSERT_EQ(StoreSetValue(path_.c_str(), L"/A", L"unsaved"), STORE_OK);
  std::remove(name_.c_str());
  EXPECT_EQ(StoreLoad(path_.c_str()), STORE_E_NO_FILE);
  EXPECT_EQ(ReadValue(path_, L"/A"), (StoreRead{STORE_OK, L"unsaved"}));
  EXPECT_EQ(CountNodes(path_, L"/A"), 1);
}

TEST_F(Reload, UpdateCheckSeesOtherWritersOnly) {
  EXPECT_EQ(UpdateCheck(path_), 0);
  ASSERT_EQ(StoreSetValue(path_.c_str(), L"/A", L"mine"), STORE_OK);
  ASSERT_EQ(StoreSave(path_.c_str()), STORE_OK);
  EXPECT_EQ(UpdateCheck(path_), 0);

  const std::function<void()> otherWriters[] = {
      [&] { ReplaceOnDisk(name_, SettingsXml("<A>replaced</A>")); },
      [&] { WriteTextFile(name_, SettingsXml("<A>rewritten in place</A>")); },
      [&] {
        const timespec times[2] = {{0, UTIME_OMIT}, {12345, 0}};
        utimensat(AT_FDCWD, name_.c_str(), times, 0);
      },
      [&] { std::remove(name_.c_str()); },
      [&] {  // another process saving through the store
        OpenedFile other(OtherPathText(path_));
        other.Set(L"/B", L"theirs");
        other.Save();
      },
  };
  for (size_t i = 0; i < std::size(otherWriters); ++i) {
    WriteTextFile(name_, SettingsXml("<A>base</A>"));
    ASSERT_EQ(StoreLoad(path_.c_str()), STORE_OK);
    ASSERT_EQ(UpdateCheck(path_), 0) << i;
    otherWriters[i]();
    EXPECT_EQ(UpdateCheck(path_), 1) << i;
    EXPECT_EQ(UpdateCheck(path_), 1) << i;
  }
  ASSERT_EQ(StoreSave(path_.c_str()), STORE_OK);
  EXPECT_EQ(UpdateCheck(path_), 0);
}

}  // namespace
