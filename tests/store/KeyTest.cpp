// Keys: resolution with and without indices among same-named siblings (and the
// key cache that must keep spellings of one node and of others apart), malformed
// keys refused without touching the tree, creation of missing nodes, and counts.
#include <gtest/gtest.h>

#include "StoreTestSupport.h"

namespace {

// B has three siblings of its name, with a comment, text and another element between.
const std::string kFile = SettingsXml(
    "<A><B>b0</B><!--<B>no</B>--><C>c</C>text<B>b1</B><B>b2<D>d</D></B><BB>bb</BB></A>"
    "<A><B>second</B></A><\xC3\x84><\xCE\xB2>greek</\xCE\xB2></\xC3\x84>");

class Keys : public SettingsFileTest {
 protected:
  void SetUp() override { Open(kFile); }
};

TEST_F(Keys, IndicesCountAmongSameNamedSiblings) {
  const struct {
    const wchar_t* key;
    StoreRead expected;
  } cases[] = {
      {L"/A/B", {STORE_OK, L"b0"}},
      {L"/A[0]/B[0]", {STORE_OK, L"b0"}},
      {L"/A/B[00]", {STORE_OK, L"b0"}},
      {L"/A/B[1]", {STORE_OK, L"b1"}},
      {L"/A/B[01]", {STORE_OK, L"b1"}},
      {L"/A/BB", {STORE_OK, L"bb"}},
      {L"/A/B[2]", {STORE_OK, L"b2"}},
      {L"/A/B[2]/D", {STORE_OK, L"d"}},
      {L"/A/C", {STORE_OK, L"c"}},
      {L"/A[1]/B", {STORE_OK, L"second"}},
      {L"/\u00C4/\u03B2", {STORE_OK, L"greek"}},
      {L"/A/B[1]", {STORE_OK, L"b1"}},
      {L"/A/B", {STORE_OK, L"b0"}},
      {L"/A/B[3]", {STORE_E_NOT_FOUND, L""}},
      {L"/A[2]/B", {STORE_E_NOT_FOUND, L""}},
      {L"/A/D", {STORE_E_NOT_FOUND, L""}},
      {L"/Settings", {STORE_E_NOT_FOUND, L""}},
      {L"/a/b", {STORE_E_NOT_FOUND, L""}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadValue(path_, c.key), c.expected) << c.key;
  const struct {
    const wchar_t* key;
    int expected;
  } counts[] = {
      {L"/A", 2},      {L"/A/B", 3},   {L"/A[1]/B", 1},   {L"/A/B[2]/D", 1}, {L"/A/E", 0},
      {L"/A[5]/B", 0}, {L"/X/Y/Z", 0}, {L"/A/B[9]/D", 0}, {L"/A/B[1]", 3},
  };
  for (const auto& c : counts) EXPECT_EQ(CountNodes(path_, c.key), c.expected) << c.key;
}

TEST_F(Keys, MalformedKeysAreRefusedAndChangeNothing) {
  ASSERT_EQ(StoreSave(path_.c_str()), STORE_OK);
  const std::string saved = ReadTextFile(name_);
  std::vector<std::pair<std::wstring, int>> cases = {
      {L"", STORE_E_BAD_ARGUMENT}, {L"/" + std::wstring(511, L'K'), STORE_E_TOO_LONG}};
  for (std::wstring bad : {L"EchoScu",
                           L"/A//B",
                           L"/A[",
                           L"/A[x]",
                           L"/A[-1]",
                           L"/A[2147483648]",
                           L"/A[99999999999999999999]",
                           L"/",
                           L"/A/",
                           L"/A B",
                           L"/1A",
                           L"/A<B",
                           L"/A&B",
                           L"/A\"",
                           L"/A[1]B",
                           L"/A[]",
                           L"/A]",
                           L"//A",
                           L"/A\t",
                           L"/-A",
                           L"/A\u00D7",
                           L"/A/B/"}) {
    cases.emplace_back(bad, STORE_E_BAD_KEY);
  }
  cases.emplace_back(std::wstring(L"/A\xD800", 3), STORE_E_BAD_KEY);
  for (const auto& [text, expected] : cases) {
    const wchar_t* key = text.c_str();
    EXPECT_EQ(ReadValue(path_, key).result, expected) << key;
    EXPECT_EQ(StoreSetValue(path_.c_str(), key, L"v"), expected) << key;
    int count = -7;
    EXPECT_EQ(StoreGetNodeCount(&count, path_.c_str(), key), expected) << key;
    EXPECT_EQ(count, -7) << key;
  }
  ASSERT_EQ(StoreSave(path_.c_str()), STORE_OK);
  EXPECT_EQ(ReadTextFile(name_), saved);
}

TEST_F(Keys, SettingCreatesMissingNodesAndSiblingsUpToTheIndex) {
  ASSERT_EQ(StoreSetValue(path_.c_str(), L"/X/Y[2]/Z", L"new"), STORE_OK);
  ASSERT_EQ(StoreSetValue(path_.c_str(), L"/A/B[5]", L"b5"), STORE_OK);
  ASSERT_EQ(StoreSetValue(path_.c_str(), L"/A/B[1]", L"B1"), STORE_OK);
  ASSERT_EQ(StoreSave(path_.c_str()), STORE_OK);
  ASSERT_EQ(StoreLoad(path_.c_str()), STORE_OK);
  EXPECT_EQ(CountNodes(path_, L"/X/Y"), 3);
  EXPECT_EQ(ReadValue(path_, L"/X/Y[0]"), (StoreRead{STORE_OK, L""}));
  EXPECT_EQ(ReadValue(path_, L"/X/Y[1]/Z").result, STORE_E_NOT_FOUND);
  EXPECT_EQ(ReadValue(path_, L"/X/Y[2]/Z"), (StoreRead{STORE_OK, L"new"}));
  EXPECT_EQ(CountNodes(path_, L"/A/B"), 6);
  EXPECT_EQ(ReadValue(path_, L"/A/B[4]"), (StoreRead{STORE_OK, L""}));
  EXPECT_EQ(ReadValue(path_, L"/A/B[5]"), (StoreRead{STORE_OK, L"b5"}));
  EXPECT_EQ(ReadValue(path_, L"/A/B[1]"), (StoreRead{STORE_OK, L"B1"}));
  EXPECT_EQ(ReadValue(path_, L"/A/B[2]/D"), (StoreRead{STORE_OK, L"d"}));
}

}  // namespace
