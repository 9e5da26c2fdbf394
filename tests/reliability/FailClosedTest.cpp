// A settings file that no longer parses is never written over unasked: opening it
// fails, a reload keeps the tree, a close saves nothing, and a save that would
// merge into it fails with STORE_E_PARSE, keeping the values in memory.
#include <gtest/gtest.h>

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

}  // namespace
