// Base64 encoding and strict decoding.
#include "etcd/Base64.h"

namespace keytreestore {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int Digit(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

}  // namespace

std::string EncodeBase64(const std::string& bytes) {
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const size_t n = bytes.size() - i < 3 ? bytes.size() - i : 3;
    unsigned group = 0;
    for (size_t k = 0; k < 3; ++k) {
      group = group << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
    }
    for (size_t k = 0; k < 4; ++k) {
      text += k <= n ? kAlphabet[(group >> (18 - 6 * k)) & 63] : '=';
    }
  }
  return text;
}

bool DecodeBase64(const std::string& text, std::string* bytes) {
  bytes->clear();
  if (text.size() % 4 != 0) return false;
  bytes->reserve(text.size() / 4 * 3);
  for (size_t i = 0; i < text.size(); i += 4) {
    const bool last = i + 4 == text.size();
    const size_t pad = last ? (text[i + 3] == '=') + (text[i + 2] == '=' && text[i + 3] == '=') : 0;
    unsigned group = 0;
    for (size_t k = 0; k < 4; ++k) {
      const int digit = k < 4 - pad ? Digit(text[i + k]) : 0;
      if (digit < 0) return false;
      group = group << 6 | static_cast<unsigned>(digit);
    }
    for (size_t k = 0; k < 3 - pad; ++k) *bytes += static_cast<char>((group >> (16 - 8 * k)) & 255);
  }
  return true;
}

}  // namespace keytreestore
