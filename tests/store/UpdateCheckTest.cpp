// Change detection: StoreDataUpdateCheck sees every other writer's change and none
// of this process's own saves.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <functional>

#include "StoreTestSupport.h"

namespace {

TEST(UpdateCheck, UpdateCheckSeesOtherWritersOnly) {
  TempDir dir;
  const std::string name = dir.File("s.xml");
  WriteTextFile(name, SettingsXml("<A>disk</A>"));
  const OpenedFile file(dir.WideFile("s.xml"));
  const std::wstring& path = file.path();
  EXPECT_EQ(UpdateCheck(path), 0);
  ASSERT_EQ(StoreSetValue(path.c_str(), L"/A", L"mine"), STORE_OK);
  ASSERT_EQ(StoreSave(path.c_str()), STORE_OK);
  EXPECT_EQ(UpdateCheck(path), 0);

  const std::function<void()> otherWriters[] = {
      [&] { ReplaceOnDisk(name, SettingsXml("<A>replaced</A>")); },
      [&] { WriteTextFile(name, SettingsXml("<A>rewritten in place</A>")); },
      [&] {
        const timespec times[2] = {{0, UTIME_OMIT}, {12345, 0}};
        utimensat(AT_FDCWD, name.c_str(), times, 0);
      },
      [&] { std::remove(name.c_str()); },
      [&] {  // another process saving through the store
        OpenedFile other(OtherPathText(path));
        other.Set(L"/B", L"theirs");
        other.Save();
      },
  };
  for (size_t i = 0; i < std::size(otherWriters); ++i) {
    WriteTextFile(name, SettingsXml("<A>base</A>"));
    ASSERT_EQ(StoreLoad(path.c_str()), STORE_OK);
    ASSERT_EQ(UpdateCheck(path), 0) << i;
    otherWriters[i]();
    EXPECT_EQ(UpdateCheck(path), 1) << i;
    EXPECT_EQ(UpdateCheck(path), 1) << i;
  }
  ASSERT_EQ(StoreSave(path.c_str()), STORE_OK);
  EXPECT_EQ(UpdateCheck(path), 0);
}

}  // namespace
