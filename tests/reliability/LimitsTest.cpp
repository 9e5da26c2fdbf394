// Limits at and over the edge through the store's functions: path lengths and
// null pointers for every pointer argument (key lengths and depth are steps.txt's).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "StoreTestSupport.h"

namespace {

// A path of exactly length characters below base, its directories made.
std::string PathOfLength(const std::string& base, size_t length) {
  std::string path = base;
  while (length - path.size() > 201) {
    path += "/" + std::string(std::min<size_t>(200, length - path.size() - 202), 'd');
    mkdir(path.c_str(), 0755);
  }
  return path + "/" + std::string(length - path.size() - 1, 'f');
}

TEST(Limits, PathLengths) {
  TempDir dir;
  const struct {
    size_t length;
    int open;
    int save;
  } cases[] = {{260, STORE_OK, STORE_OK},
               {4000, STORE_OK, STORE_OK},
               // The lock file's name would pass the system's limit: the save fails cleanly.
               {4095, STORE_OK, STORE_E_IO},
               {4096, STORE_E_TOO_LONG, STORE_E_NOT_OPEN},
               {100000, STORE_E_TOO_LONG, STORE_E_NOT_OPEN}};
  for (const auto& c : cases) {
    const std::string name = PathOfLength(dir.path(), c.length);
    ASSERT_EQ(name.size(), c.length);
    WriteTextFile(name, SettingsXml("<A>a</A>"));
    const std::wstring path(name.begin(), name.end());
    EXPECT_EQ(StoreOpen(path.c_str(), 1), c.open) << c.length;
    EXPECT_EQ(StoreSetValue(path.c_str(), L"/A", L"b"),
              c.open == STORE_OK ? STORE_OK : STORE_E_NOT_OPEN);
    EXPECT_EQ(StoreSave(path.c_str()), c.save) << c.length;
    if (c.open == STORE_OK) {
      EXPECT_EQ(StoreClose(path.c_str(), 1), STORE_OK);
    }
    EXPECT_EQ(ReadTextFile(name).find("<A>b</A>") != std::string::npos, c.save == STORE_OK);
  }
}

TEST(Limits, NullPointersAreRefused) {
  TempDir dir;
  WriteTextFile(dir.File("s.xml"), SettingsXml("<A>a</A>"));
  OpenedFile file(dir.WideFile("s.xml"));
  const wchar_t* p = file.path().c_str();
  wchar_t buffer[STORE_VALUE_BUFFER_LENGTH];
  int out = 0;
  const int results[] = {
      StoreOpen(nullptr, 1),
      StoreClose(nullptr, 1),
      StoreLoad(nullptr),
      StoreSave(nullptr),
      StoreGetValue(nullptr, p, L"/A"),
      StoreGetValue(buffer, nullptr, L"/A"),
      StoreGetValue(buffer, p, nullptr),
      StoreSetValue(nullptr, L"/A", L"v"),
      StoreSetValue(p, nullptr, L"v"),
      StoreSetValue(p, L"/A", nullptr),
      StoreGetNodeCount(nullptr, p, L"/A"),
      StoreGetNodeCount(&out, nullptr, L"/A"),
      StoreGetNodeCount(&out, p, nullptr),
      StoreDataUpdateCheck(nullptr, p),
      StoreDataUpdateCheck(&out, nullptr),
      StoreCheckFile(nullptr, nullptr),
      StoreOpen(L"", 1),
      StoreCheckFile(L"", nullptr),
      StoreGetValue(buffer, p, L""),
  };
  for (size_t i = 0; i < std::size(results); ++i) {
    EXPECT_EQ(results[i], STORE_E_BAD_ARGUMENT) << "call " << i;
  }
  EXPECT_EQ(file.Read(L"/A"), (StoreRead{STORE_OK, L"a"}));
}

}  // namespace
