// Checking a file without opening it: the line and column (in characters) of a
// parse fault, the result for files that are missing, and the text of every result.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "StoreTestSupport.h"

namespace {

using namespace std::string_literals;

TEST(CheckFile, ReportsWhereAFileFailsToParse) {
  TempDir dir;
  const struct {
    std::string bytes;
    int line;
    int column;
  } cases[] = {
      {"<S>\n<A>\xC3\xA9\xFF</A></S>"s, 2, 5},  // invalid UTF-8 after a two-byte character
      {"<S>\n\n <A>a\0</A></S>"s, 3, 6},        // NUL byte
      {"<S><\xE2\x82\xAC>x</\xE2\x82\xAC>\n  <A x=1/></S>"s, 2, 8},  // unquoted attribute
      {"<S>\r\n<A>&bogus;</A><B></S>"s, 2, 20},  // mismatched end tag, at its name
  };
  for (const auto& c : cases) {
    WriteTextFile(dir.File("bad.xml"), c.bytes);
    StoreParseError error;
    EXPECT_EQ(StoreCheckFile(dir.WideFile("bad.xml").c_str(), &error), STORE_E_PARSE);
    EXPECT_EQ(error.result, STORE_E_PARSE);
    EXPECT_EQ(error.line, c.line) << c.bytes;
    EXPECT_EQ(error.column, c.column) << c.bytes;
    EXPECT_GT(std::strlen(error.text), 0u);
    EXPECT_EQ(StoreCheckFile(dir.WideFile("bad.xml").c_str(), nullptr), STORE_E_PARSE);
  }
}

TEST(CheckFile, GoodAndMissingFilesAndNothingLeftOpen) {
  TempDir dir;
  WriteTextFile(dir.File("good.xml"), SettingsXml("<A>a</A>"));
  StoreParseError error;
  EXPECT_EQ(StoreCheckFile(dir.WideFile("good.xml").c_str(), &error), STORE_OK);
  EXPECT_EQ(error.result, STORE_OK);
  EXPECT_EQ(error.line, 0);
  EXPECT_EQ(ReadValue(dir.WideFile("good.xml"), L"/A").result, STORE_E_NOT_OPEN);
  EXPECT_EQ(StoreCheckFile(dir.WideFile("none.xml").c_str(), &error), STORE_E_NO_FILE);
  EXPECT_EQ(error.result, STORE_E_NO_FILE);
  EXPECT_EQ(error.line, 0);
  EXPECT_EQ(StoreCheckFile(nullptr, &error), STORE_E_BAD_ARGUMENT);
  EXPECT_EQ(StoreCheckFile(L"", &error), STORE_E_BAD_ARGUMENT);
}

TEST(CheckFile, EveryResultHasItsOwnText) {
  std::set<std::string> texts;
  for (int code = STORE_OK; code <= STORE_E_NO_MEMORY; ++code) texts.insert(StoreResultText(code));
  EXPECT_EQ(texts.size(), static_cast<size_t>(STORE_E_NO_MEMORY + 1));
  for (int code : {-1, 10, 201}) EXPECT_EQ(texts.count(StoreResultText(code)), 0u) << code;
}

}  // namespace
