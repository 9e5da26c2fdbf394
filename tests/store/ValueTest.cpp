// Values stored over the 511-character limit are refused, never written past the
// reader's buffer (the limit on writes and the texts a file can hold are steps.txt's).
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "StoreTestSupport.h"

namespace {

TEST(Values, StoredValuesOverTheLimitAreRefusedWithoutOverrun) {
  TempDir dir;
  std::string body;
  for (size_t length : {511, 512, 600, 100000}) {
    const std::string tag = "L" + std::to_string(length);
    body += "<" + tag + ">" + std::string(length, 'x') + "</" + tag + ">";
  }
  std::string wide;  // 512 characters of three bytes each
  for (int i = 0; i < 512; ++i) wide += "\xE2\x82\xAC";
  WriteTextFile(dir.File("long.xml"), SettingsXml(body + "<W>" + wide + "</W>"));
  OpenedFile file(dir.WideFile("long.xml"));
  constexpr wchar_t kGuard = 0x5A5A5A;
  for (const wchar_t* key : {L"/L511", L"/L512", L"/L600", L"/L100000", L"/W"}) {
    std::vector<wchar_t> memory(STORE_VALUE_BUFFER_LENGTH + 64, kGuard);
    const int result = StoreGetValue(memory.data(), file.path().c_str(), key);
    EXPECT_EQ(result, key == std::wstring(L"/L511") ? STORE_OK : STORE_E_TOO_LONG) << key;
    EXPECT_EQ(std::count(memory.begin() + STORE_VALUE_BUFFER_LENGTH, memory.end(), kGuard), 64)
        << "written past the buffer for " << key;
    if (result == STORE_OK) {
      EXPECT_EQ(std::wstring(memory.data()), std::wstring(511, L'x'));
    }
  }
}

}  // namespace
