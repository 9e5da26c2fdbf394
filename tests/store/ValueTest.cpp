// Values: the 511-character limit on both sides (and never a write past the reader's
// buffer), characters a file cannot hold, and texts that must come back unchanged
// through a save and a reopen.
#include <gtest/gtest.h>

#include <vector>

#include "StoreTestSupport.h"

namespace {

constexpr wchar_t kGuard = 0x5A5A5A;

class Values : public SettingsFileTest {
 protected:
  void SetUp() override { Open(SettingsXml("<A>old</A>")); }

  // Reads key into a 512-wchar_t buffer followed by a guard region; fails the test
  // if the guard was written.
  int ReadGuarded(const wchar_t* key, std::wstring* text) {
    std::vector<wchar_t> memory(STORE_VALUE_BUFFER_LENGTH + 64, kGuard);
    const int result = StoreGetValue(memory.data(), path_.c_str(), key);
    for (size_t i = STORE_VALUE_BUFFER_LENGTH; i < memory.size(); ++i) {
      EXPECT_EQ(memory[i], kGuard) << "written past the buffer at " << i << " for " << key;
    }
    if (result == STORE_OK) *text = memory.data();
    return result;
  }
};

TEST_F(Values, LengthLimitHoldsOnWriteAndRead) {
  const std::wstring smile = L"\U0001F600";
  const struct {
    std::wstring value;
    int expected;
  } cases[] = {
      {std::wstring(511, L'v'), STORE_OK},
      {std::wstring(512, L'v'), STORE_E_TOO_LONG},
      {std::wstring(100000, L'v'), STORE_E_TOO_LONG},
      {std::wstring(511, smile[0]), STORE_OK},
      {std::wstring(512, smile[0]), STORE_E_TOO_LONG},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(StoreSetValue(path_.c_str(), L"/A", L"old"), STORE_OK);
    EXPECT_EQ(StoreSetValue(path_.c_str(), L"/A", c.value.c_str()), c.expected);
    std::wstring read;
    EXPECT_EQ(ReadGuarded(L"/A", &read), STORE_OK);
    EXPECT_EQ(read, c.expected == STORE_OK ? c.value : L"old") << c.value.size();
  }
}

TEST_F(Values, StoredValuesOverTheLimitAreRefusedWithoutOverrun) {
  std::string body;
  for (size_t length : {511, 512, 600, 100000}) {
    body += "<L" + std::to_string(length) + ">" + std::string(length, 'x') + "</L" +
            std::to_string(length) + ">";
  }
  std::string wide;  // 512 characters of three bytes each
  for (int i = 0; i < 512; ++i) wide += "\xE2\x82\xAC";
  WriteTextFile(dir_.File("long.xml"), SettingsXml(body + "<W>" + wide + "</W>"));
  StoreClose(path_.c_str(), 1);
  path_ = dir_.WideFile("long.xml");
  ASSERT_EQ(StoreOpen(path_.c_str(), 1), STORE_OK);
  std::wstring read;
  EXPECT_EQ(ReadGuarded(L"/L511", &read), STORE_OK);
  EXPECT_EQ(read, std::wstring(511, L'x'));
  for (const wchar_t* key : {L"/L512", L"/L600", L"/L100000", L"/W"}) {
    EXPECT_EQ(ReadGuarded(key, &read), STORE_E_TOO_LONG) << key;
  }
}

TEST_F(Values, CharactersAFileCannotHoldAreRefused) {
  const std::wstring cases[] = {std::wstring(1, wchar_t(0xD800)),
                                std::wstring(1, wchar_t(0xDFFF)),
                                std::wstring(1, wchar_t(0x110000)),
                                std::wstring(1, wchar_t(-1)),
                                L"a\x01",
                                L"\x1F",
                                L"\xFFFE",
                                L"\xFFFF"};
  for (const std::wstring& value : cases) {
    EXPECT_EQ(StoreSetValue(path_.c_str(), L"/A", value.c_str()), STORE_E_BAD_ARGUMENT)
        << static_cast<long>(value.back());
    EXPECT_EQ(ReadValue(path_, L"/A"), (StoreRead{STORE_OK, L"old"}));
  }
}

TEST_F(Values, TextsComeBackUnchangedThroughSaveAndReopen) {
  const std::wstring cases[] = {
      L"",
      L"plain",
      L"\U0001F600 \U00010000 \U0010FFFD \u00E9\u4E2D",
      L"<tag attr=\"x\"> & 'quote' ]]> &amp;",
      L"  leading and trailing  ",
      L"   ",
      L"line one\nline two\ttab",
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const std::wstring key = L"/V" + std::to_wstring(i);
    ASSERT_EQ(StoreSetValue(path_.c_str(), key.c_str(), cases[i].c_str()), STORE_OK);
  }
  ASSERT_EQ(StoreSave(path_.c_str()), STORE_OK);
  EXPECT_NE(ReadTextFile(name_).find("\xF0\x9F\x98\x80"), std::string::npos);
  for (size_t i = 0; i < std::size(cases); ++i) {
    const std::wstring key = L"/V" + std::to_wstring(i);
    EXPECT_EQ(ReadFromDisk(path_, key.c_str()), (StoreRead{STORE_OK, cases[i]})) << i;
  }
}

}  // namespace
