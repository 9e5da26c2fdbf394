// Saves that cannot write: STORE_E_IO, the old file intact, no temporary file
// left, and the values still in memory for a retry that then succeeds.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>

#include "FaultyFileSystem.h"
#include "StoreTestSupport.h"

namespace {

class SaveFailure : public SettingsFileTest {
 protected:
  void SetUp() override {
    Open(SettingsXml("<A>old</A>"));
    ASSERT_EQ(StoreSetValue(path_.c_str(), L"/A", L"new"), STORE_OK);
  }

  // Saves with the nth call of op failing with error; checks the failure left
  // everything as it was, then that a plain retry saves.
  void ExpectFailedSaveLeavesFileAlone(FileOp op, int error) {
    const std::string before = ReadTextFile(name_);
    FaultyFileSystem faulty;
    faulty.FailAt(op, 1, error);
    int result;
    {
      keytreestore::ScopedFileSystem use(faulty);
      result = StoreSave(path_.c_str());
    }
    ASSERT_TRUE(faulty.fired()) << FileOpName(op);
    EXPECT_EQ(result, STORE_E_IO) << FileOpName(op);
    EXPECT_EQ(ReadTextFile(name_), before) << FileOpName(op);
    for (const std::string& entry : DirectoryEntries(dir_.path())) {
      EXPECT_TRUE(entry == "s.xml" || entry == "s.xml.lock") << entry;
    }
    EXPECT_EQ(ReadValue(path_, L"/A"), (StoreRead{STORE_OK, L"new"}));
    EXPECT_EQ(StoreSave(path_.c_str()), STORE_OK);
    EXPECT_EQ(ReadFromDisk(path_, L"/A"), (StoreRead{STORE_OK, L"new"}));
  }
};

TEST_F(SaveFailure, ReadOnlyDirectory) {
  ExpectFailedSaveLeavesFileAlone(FileOp::kOpenTemporary, EACCES);
}

TEST_F(SaveFailure, LockFileCannotBeMade) {
  ExpectFailedSaveLeavesFileAlone(FileOp::kOpenLock, EROFS);
}

TEST_F(SaveFailure, FullDisk) {
  ExpectFailedSaveLeavesFileAlone(FileOp::kWrite, ENOSPC);
}

// A file that cannot be looked at is not mistaken for a missing one: that would
// write over another writer's version without merging.
TEST_F(SaveFailure, UnreadableFileIsNotTakenForMissing) {
  ReplaceOnDisk(name_, SettingsXml("<A>old</A><B>theirs</B>"));
  ExpectFailedSaveLeavesFileAlone(FileOp::kStat, EACCES);
  EXPECT_EQ(ReadFromDisk(path_, L"/B"), (StoreRead{STORE_OK, L"theirs"}));
}

TEST_F(SaveFailure, TargetReplacedByADirectory) {
  ASSERT_EQ(std::remove(name_.c_str()), 0);
  ASSERT_EQ(mkdir(name_.c_str(), 0755), 0);
  EXPECT_NE(StoreSave(path_.c_str()), STORE_OK);
  struct stat info;
  ASSERT_EQ(stat(name_.c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_EQ(DirectoryEntries(dir_.path()), (std::vector<std::string>{"s.xml", "s.xml.lock"}));
  EXPECT_EQ(ReadValue(path_, L"/A"), (StoreRead{STORE_OK, L"new"}));
}

}  // namespace
