// What a save keeps beyond the text (which steps.txt checks): the file's
// permission bits and owner, and a symbolic link as a link to the file that
// receives the save; beside the file it leaves only the lock file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "StoreTestSupport.h"

namespace {

TEST(SaveFidelity, PermissionBitsAndOwnerAreKept) {
  TempDir dir;
  const std::string name = dir.File("s.xml");
  for (mode_t mode : {0600, 0640, 0604, 0444, 04751, 02750}) {
    WriteTextFile(name, SettingsXml("<A>a</A>"));
    const bool root = geteuid() == 0;
    if (root) {
      ASSERT_EQ(chown(name.c_str(), 4321, 8765), 0);  // before chmod: it clears set-id bits
    }
    ASSERT_EQ(chmod(name.c_str(), mode), 0);
    {
      OpenedFile file(dir.WideFile("s.xml"));
      ASSERT_EQ(file.Set(L"/A", L"b"), STORE_OK);
      ASSERT_EQ(file.Save(), STORE_OK);
    }
    struct stat info;
    ASSERT_EQ(stat(name.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, mode);
    if (root) {
      EXPECT_EQ(info.st_uid, 4321u);
      EXPECT_EQ(info.st_gid, 8765u);
    }
    EXPECT_EQ(ReadFromDisk(dir.WideFile("s.xml"), L"/A"), (StoreRead{STORE_OK, L"b"}));
  }
}

TEST(SaveFidelity, SymbolicLinksAreSavedThrough) {
  TempDir dir;
  ASSERT_EQ(mkdir(dir.File("real").c_str(), 0755), 0);
  WriteTextFile(dir.File("real/s.xml"), SettingsXml("<A>a</A>"));
  ASSERT_EQ(symlink("real/s.xml", dir.File("link.xml").c_str()), 0);
  ASSERT_EQ(symlink("link.xml", dir.File("chain.xml").c_str()), 0);
  for (const char* name : {"link.xml", "chain.xml"}) {
    OpenedFile file(dir.WideFile(name));
    ASSERT_EQ(file.Set(L"/A", std::wstring(name, name + 4)), STORE_OK);
    ASSERT_EQ(file.Save(), STORE_OK);
    EXPECT_EQ(UpdateCheck(file.path()), 0) << name;
    EXPECT_EQ(ReadFromDisk(dir.WideFile("real/s.xml"), L"/A"),
              (StoreRead{STORE_OK, std::wstring(name, name + 4)}));
  }
  struct stat info;
  ASSERT_EQ(lstat(dir.File("link.xml").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  ASSERT_EQ(lstat(dir.File("chain.xml").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  // A link whose file was removed meanwhile still receives the save.
  {
    OpenedFile file(dir.WideFile("chain.xml"));
    ASSERT_EQ(std::remove(dir.File("real/s.xml").c_str()), 0);
    ASSERT_EQ(file.Set(L"/A", L"again"), STORE_OK);
    ASSERT_EQ(file.Save(), STORE_OK);
  }
  EXPECT_EQ(ReadFromDisk(dir.WideFile("real/s.xml"), L"/A"), (StoreRead{STORE_OK, L"again"}));
  // The lock and every temporary file live beside the file the links lead to.
  EXPECT_EQ(DirectoryEntries(dir.File("real")), (std::vector<std::string>{"s.xml", "s.xml.lock"}));
  EXPECT_EQ(DirectoryEntries(dir.path()),
            (std::vector<std::string>{"chain.xml", "link.xml", "real"}));
}

}  // namespace
