// Base64 as etcd's JSON gateway gives keys and values: every byte value and each
// length of the last group there and back, and text that is not padded base64.
#include <gtest/gtest.h>

#include <string>

#include "etcd/Base64.h"

namespace {

using namespace std::string_literals;

TEST(Base64, BytesGoThereAndBack) {
  const struct {
    std::string bytes;
    std::string text;
  } rows[] = {{"", ""},
              {"f", "Zg=="},
              {"fo", "Zm8="},
              {"foobar", "Zm9vYmFy"},
              {"\0\x01"s, "AAE="},
              {"\xFB\xFF\xBF", "+/+/"}};
  for (const auto& row : rows) {
    EXPECT_EQ(keytreestore::EncodeBase64(row.bytes), row.text);
    std::string bytes = "left over";
    EXPECT_TRUE(keytreestore::DecodeBase64(row.text, &bytes)) << row.text;
    EXPECT_EQ(bytes, row.bytes);
  }
  std::string all;
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  std::string back;
  EXPECT_TRUE(keytreestore::DecodeBase64(keytreestore::EncodeBase64(all), &back));
  EXPECT_EQ(back, all);
}

TEST(Base64, TextThatIsNotPaddedBase64IsRefused) {
  for (const char* text : {"Zg=", "Zg", "Zm9", "Zg=a",
                           "Z===", "====", "Zg==Zm8=", "Zm9v!A==", "Zm 9", "Zm9\n", "Zm-_"}) {
    std::string bytes;
    EXPECT_FALSE(keytreestore::DecodeBase64(text, &bytes)) << text;
  }
}

}  // namespace
