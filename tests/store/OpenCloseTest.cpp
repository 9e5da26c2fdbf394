// Opening and closing settings files: open counting, files that are missing or
// malformed (nothing kept open), and calls on paths that are not open.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "StoreTestSupport.h"

namespace {

const std::string kFile = SettingsXml("<A>old</A>");

TEST(OpenClose, OpensAreCountedAndShareOneTree) {
  TempDir dir;
  WriteTextFile(dir.File("s.xml"), kFile);
  const std::wstring path = dir.WideFile("s.xml");
  ASSERT_EQ(StoreOpen(path.c_str(), 1), STORE_OK);
  ASSERT_EQ(StoreOpen(path.c_str(), 0), STORE_OK);
  ASSERT_EQ(StoreSetValue(path.c_str(), L"/A", L"new"), STORE_OK);
  EXPECT_EQ(StoreClose(path.c_str(), 1), STORE_OK);
  // One open is left, and with it the unsaved change.
  EXPECT_EQ(ReadValue(path, L"/A"), (StoreRead{STORE_OK, L"new"}));
  EXPECT_EQ(StoreClose(path.c_str(), 1), STORE_OK);
  EXPECT_EQ(StoreClose(path.c_str(), 1), STORE_E_NOT_OPEN);
  EXPECT_EQ(ReadValue(path, L"/A").result, STORE_E_NOT_OPEN);
}

TEST(OpenClose, LastCloseDropsUnsavedChanges) {
  TempDir dir;
  WriteTextFile(dir.File("s.xml"), kFile);
  const std::wstring path = dir.WideFile("s.xml");
  {
    OpenedFile file(path);
    ASSERT_EQ(file.result(), STORE_OK);
    ASSERT_EQ(file.Set(L"/A", L"unsaved"), STORE_OK);
  }
  EXPECT_EQ(ReadTextFile(dir.File("s.xml")), kFile);
  OpenedFile again(path);
  EXPECT_EQ(again.Read(L"/A"), (StoreRead{STORE_OK, L"old"}));
}

TEST(OpenClose, PathTextsAreKeptApart) {
  TempDir dir;
  WriteTextFile(dir.File("s.xml"), kFile);
  OpenedFile one(dir.WideFile("s.xml"));
  OpenedFile other(OtherPathText(dir.WideFile("s.xml")));
  ASSERT_EQ(one.Set(L"/A", L"mine"), STORE_OK);
  EXPECT_EQ(other.Read(L"/A"), (StoreRead{STORE_OK, L"old"}));
  EXPECT_EQ(StoreClose(L"never-opened.xml", 1), STORE_E_NOT_OPEN);
}

TEST(OpenClose, FilesThatCannotBeOpenedAreNotKeptOpen) {
  TempDir dir;
  mkdir(dir.File("folder").c_str(), 0755);
  const struct {
    const char* name;
    const char* bytes;  // null: no file is written
    size_t size;
    int expected;
  } cases[] = {
      {"missing.xml", nullptr, 0, STORE_E_NO_FILE},
      {"missing/inside.xml", nullptr, 0, STORE_E_NO_FILE},
      {"folder", nullptr, 0, STORE_E_IO},
      {"empty.xml", "", 0, STORE_E_PARSE},
      {"unclosed.xml", "<S><A>", 6, STORE_E_PARSE},
      {"two-roots.xml", "<A/><B/>", 8, STORE_E_PARSE},
      {"text-only.xml", "settings", 8, STORE_E_PARSE},
      {"utf16.xml", "\xFF\xFE<\0S\0/\0>\0", 10, STORE_E_PARSE},
  };
  for (const auto& c : cases) {
    if (c.bytes != nullptr) WriteTextFile(dir.File(c.name), std::string(c.bytes, c.size));
    const std::wstring path = dir.WideFile(c.name);
    EXPECT_EQ(StoreOpen(path.c_str(), 1), c.expected) << c.name;
    EXPECT_EQ(ReadValue(path, L"/A").result, STORE_E_NOT_OPEN) << c.name;
    EXPECT_EQ(StoreClose(path.c_str(), 1), STORE_E_NOT_OPEN) << c.name;
  }
}

TEST(OpenClose, EveryCallOnAPathNotOpenSaysSo) {
  TempDir dir;
  WriteTextFile(dir.File("s.xml"), kFile);
  const std::wstring path = dir.WideFile("s.xml");
  const wchar_t* p = path.c_str();
  wchar_t buffer[STORE_VALUE_BUFFER_LENGTH];
  int out = 0;
  EXPECT_EQ(StoreLoad(p), STORE_E_NOT_OPEN);
  EXPECT_EQ(StoreSave(p), STORE_E_NOT_OPEN);
  EXPECT_EQ(StoreGetValue(buffer, p, L"/A"), STORE_E_NOT_OPEN);
  EXPECT_EQ(StoreSetValue(p, L"/A", L"x"), STORE_E_NOT_OPEN);
  EXPECT_EQ(StoreGetNodeCount(&out, p, L"/A"), STORE_E_NOT_OPEN);
  EXPECT_EQ(StoreDataUpdateCheck(&out, p), STORE_E_NOT_OPEN);
  EXPECT_EQ(ReadTextFile(dir.File("s.xml")), kFile);
  EXPECT_EQ(DirectoryEntries(dir.path()), std::vector<std::string>{"s.xml"});
}

}  // namespace
