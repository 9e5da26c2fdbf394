// A settings file that no longer parses is never written over unasked: opening it
// fails, a reload keeps the tree, a close saves nothing, and a save that would
// merge into it fails with STORE_E_PARSE, keeping the values in memory.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ChildProcess.h"
#include "StoreTestSupport.h"

namespace {

const char* const kCorrupt[] = {"", "<Settings><A>half", "\x01\x02\x03", "<a></b>"};

TEST(FailClosed, CorruptionAfterOpeningIsNeverSavedOver) {
  TempDir dir;
  for (const char* corrupt : kCorrupt) {
    WriteTextFile(dir.File("s.xml"), SettingsXml("<A>a</A>"));
    {
      OpenedFile file(dir.WideFile("s.xml"));
      ASSERT_EQ(file.Set(L"/A", L"mine"), STORE_OK);
      WriteTextFile(dir.File("s.xml"), corrupt);
      EXPECT_EQ(StoreLoad(file.path().c_str()), STORE_E_PARSE);
      EXPECT_EQ(file.Read(L"/A").text, L"mine");
      EXPECT_EQ(UpdateCheck(file.path()), 1);
      EXPECT_EQ(file.Save(), STORE_E_PARSE);
      EXPECT_EQ(file.Read(L"/A").text, L"mine");
      EXPECT_EQ(ReadTextFile(dir.File("s.xml")), corrupt);
    }
    EXPECT_EQ(ReadTextFile(dir.File("s.xml")), corrupt);
    EXPECT_EQ(DirectoryEntries(dir.path()), (std::vector<std::string>{"s.xml", "s.xml.lock"}));
  }
}

// A user who may write the folder but not the file never replaces the file (the
// rename would, and would make it the user's), and a save into a folder the user
// may not write says so in the system's words. Run as root, the saves are made by
// an unprivileged user in a child process.
TEST(FailClosed, SaveNeverReplacesAFileTheUserMayNotWrite) {
  TempDir dir;
  const std::string original = SettingsXml("<A>a</A>");
  WriteTextFile(dir.File("s.xml"), original);
  ASSERT_EQ(mkdir(dir.File("locked").c_str(), 0755), 0);
  WriteTextFile(dir.File("locked/t.xml"), original);
  ASSERT_EQ(chmod(dir.File("s.xml").c_str(), 0444) | chmod(dir.File("locked").c_str(), 0555) |
                chmod(dir.path().c_str(), 0777),
            0);
  const struct {
    const char* name;
    const char* says;
  } cases[] = {{"s.xml", "not writable"}, {"locked/t.xml", "Permission denied"}};
  ChildProcess child([&]() {
    if (geteuid() == 0 && setuid(65534) != 0) return 100;
    int failures = 0;
    for (const auto& c : cases) {
      const std::wstring path = dir.WideFile(c.name);
      failures += StoreOpen(path.c_str(), 0) != STORE_OK;
      failures += StoreSetValue(path.c_str(), L"/A", L"b") != STORE_OK;
      failures += StoreSave(path.c_str()) != STORE_E_IO;
      failures += LastFailure(path).find(c.says) == std::string::npos;
    }
    return failures;
  });
  EXPECT_EQ(child.Wait(), 0);
  struct stat info;
  ASSERT_EQ(stat(dir.File("s.xml").c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, geteuid());
  EXPECT_EQ(ReadTextFile(dir.File("s.xml")), original);
  EXPECT_EQ(ReadTextFile(dir.File("locked/t.xml")), original);
  chmod(dir.File("locked").c_str(), 0755);
}

}  // namespace
