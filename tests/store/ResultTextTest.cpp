// Every result code has a text of its own, and a code the store never returns
// has none of theirs; a failure text too long for where it goes is cut between
// whole characters, keeping as much as fits.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <set>

#include "StoreTestSupport.h"
#include "util/FailureNote.h"

namespace {

TEST(ResultText, EveryResultHasItsOwnText) {
  std::set<std::string> texts;
  for (int code = STORE_OK; code <= STORE_E_NO_MEMORY; ++code) texts.insert(StoreResultText(code));
  EXPECT_EQ(texts.size(), static_cast<size_t>(STORE_E_NO_MEMORY + 1));
  for (int code : {-1, 10, 201}) EXPECT_EQ(texts.count(StoreResultText(code)), 0u) << code;
}

std::string Times(const std::string& text, int n) {
  std::string out;
  while (n-- > 0) out += text;
  return out;
}

TEST(ResultText, LongFailureTextsAreCutBetweenWholeCharacters) {
  const std::string e = "\xC3\xA9";  // two bytes: a cut by bytes alone would split one
  keytreestore::NoteFailure("x%s", Times(e, 300).c_str());
  EXPECT_EQ(keytreestore::TakeFailureNote(), "x" + Times(e, keytreestore::kMaxFailureNote / 2 - 1));

  // StoreCheckFile's text holds 128 bytes; the failure of a long path is cut there.
  TempDir dir;
  ASSERT_EQ(mkdir(dir.File("x" + Times(e, 100)).c_str(), 0700), 0);
  const std::wstring path = dir.WideFile("x") + std::wstring(100, L'\xE9');
  StoreParseError error;
  EXPECT_EQ(StoreCheckFile(path.c_str(), &error), STORE_E_IO);
  const std::string full = LastFailure(path);
  const std::string cut = error.text;
  EXPECT_NE(full.find(": is a directory"), std::string::npos) << full;
  EXPECT_TRUE(cut.size() == sizeof error.text - 1 || cut.size() == sizeof error.text - 2) << cut;
  EXPECT_EQ(full.compare(0, cut.size(), cut), 0) << cut;
  EXPECT_NE(static_cast<unsigned char>(cut.back()), 0xC3) << "half a character";
}

}  // namespace
