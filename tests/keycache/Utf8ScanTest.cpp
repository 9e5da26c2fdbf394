// The check of a file's bytes passes runs of ASCII eight bytes at a time: the
// first bad byte must still be found exactly, wherever it falls in such a run.
#include <gtest/gtest.h>

#include <string>

#include "Utf8.h"

namespace {

TEST(Utf8Scan, FirstBadByteIsFoundAtEveryOffset) {
  const std::string bad[] = {"\xFF", "\xC3\x28", "\xE2\x82", "\xED\xA0\x80", "\xC0\xAF"};
  for (const std::string& fault : bad) {
    for (size_t offset = 0; offset < 20; ++offset) {
      const std::string text = std::string(offset, 'a') + fault + std::string(9, 'b');
      EXPECT_EQ(keytreestore::FindInvalidUtf8(text.data(), text.size()), offset) << offset;
    }
  }
  const std::string good = std::string(13, 'a') + "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80" + "tail";
  for (size_t length = 0; length <= good.size(); ++length) {
    const size_t found = keytreestore::FindInvalidUtf8(good.data(), length);
    // A length that cuts a character short makes its first byte the bad one.
    EXPECT_TRUE(found == length || (found >= 13 && found < length)) << length;
  }
  EXPECT_EQ(keytreestore::FindInvalidUtf8(good.data(), good.size()), good.size());
}

}  // namespace
