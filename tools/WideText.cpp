// UTF-8 <-> wide text through the C library's multibyte conversions under the
// "C.UTF-8" character type.
#include "WideText.h"

#include <climits>
#include <clocale>
#include <cwchar>

namespace dicomsettings_tool {

void UseUtf8Text() {
  std::setlocale(LC_CTYPE, "C.UTF-8");
}

bool ToWide(const std::string& text, std::wstring* wide) {
  wide->clear();
  std::mbstate_t state{};
  const char* p = text.data();
  size_t left = text.size();
  while (left > 0) {
    wchar_t c = 0;
    const size_t used = std::mbrtowc(&c, p, left, &state);
    if (used == static_cast<size_t>(-1) || used == static_cast<size_t>(-2)) return false;
    if (used == 0) return false;  // an embedded NUL names no text the library can take
    wide->push_back(c);
    p += used;
    left -= used;
  }
  return true;
}

std::string ToUtf8(const std::wstring& wide) {
  std::string text;
  char bytes[MB_LEN_MAX];
  for (const wchar_t c : wide) {
    std::mbstate_t state{};
    const size_t n = std::wcrtomb(bytes, c, &state);
    if (n == static_cast<size_t>(-1)) {
      text += "\xEF\xBF\xBD";
    } else {
      text.append(bytes, n);
    }
  }
  return text;
}

std::string OneLine(const std::string& text) {
  std::string line;
  for (const char c : text) {
    switch (c) {
      case '\n':
        line += "\\n";
        break;
      case '\r':
        line += "\\r";
        break;
      case '\t':
        line += "\\t";
        break;
      default:
        line += c;
    }
  }
  return line;
}

}  // namespace dicomsettings_tool
