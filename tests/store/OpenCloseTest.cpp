// Opening and closing settings files: open counting, path texts kept apart, files
// that cannot be opened (nothing kept open), and calls on paths that are not open.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "StoreTestSupport.h"

namespace {

const std::string kFile = SettingsXml("<A>old</A>");

TEST(OpenClose, OpensAreCountedAndTheLastCloseDropsUnsavedChanges) {
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
  EXPECT_EQ(StoreClose(p, 1), STORE_E_NOT_OPEN);
  EXPECT_EQ(DirectoryEntries(dir.path()), std::vector<std::string>{"s.xml"});

  ASSERT_EQ(StoreOpen(p, 1), STORE_OK);
  ASSERT_EQ(StoreOpen(p, 0), STORE_OK);
  ASSERT_EQ(StoreSetValue(p, L"/A", L"new"), STORE_OK);
  EXPECT_EQ(ReadFromDisk(path, L"/A"), (StoreRead{STORE_OK, L"old"})) << "path texts apart";
  EXPECT_EQ(StoreClose(p, 1), STORE_OK);
  EXPECT_EQ(ReadValue(path, L"/A"), (StoreRead{STORE_OK, L"new"})) << "one open is left";
  EXPECT_EQ(StoreClose(p, 1), STORE_OK);
  EXPECT_EQ(StoreClose(p, 1), STORE_E_NOT_OPEN);
  EXPECT_EQ(ReadTextFile(dir.File("s.xml")), kFile);
  OpenedFile again(path);
  EXPECT_EQ(again.Read(L"/A"), (StoreRead{STORE_OK, L"old"}));
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
      {"utf16.xml", "\xFF\xFE<\0S\0/\0>\0", 10, STORE_E_PARSE},
  };
  for (const auto& c : cases) {
    if (c.bytes != nullptr) WriteTextFile(dir.File(c.name), std::string(c.bytes, c.size));
    const std::wstring path = dir.WideFile(c.name);
    EXPECT_EQ(StoreOpen(path.c_str(), 1), c.expected) << c.name;
    EXPECT_EQ(StoreClose(path.c_str(), 1), STORE_E_NOT_OPEN) << c.name;
  }
}

}  // namespace
