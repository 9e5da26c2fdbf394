// Values stored over the 511-character limit are refused, never written past the
// reader's buffer (the limit on writes and the texts a file can hold are steps.txt's).
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

}  // namespace
