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

class Reload : public SettingsFileTest {
 protected:
  void SetUp() override { Open(SettingsXml("<A>disk</A>")); }
};

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
