// Locale-independent text forms of integer and floating-point settings.
#include "ValueText.h"

#include <locale.h>

#include <charconv>
#include <climits>
#include <clocale>
#include <cstdlib>

namespace AccessLibraryBaseCpp {
namespace {

bool IsCSpace(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
}

bool IsSeparator(wchar_t c) {
  return c == L'\\' || c == L'/';
}

}  // namespace

int ParseIntText(const wchar_t* text) {
  while (IsCSpace(*text)) ++text;
  bool negative = false;
  if (*text == L'+' || *text == L'-') negative = *text++ == L'-';
  long long value = 0;
  const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
  for (; *text >= L'0' && *text <= L'9'; ++text) {
    value = value * 10 + (*text - L'0');
    if (value > limit) {
      value = limit;
      // keep consuming digits without growing further
    }
  }
  return static_cast<int>(negative ? -value : value);
}

double ParseDoubleText(const wchar_t* text) {
  while (IsCSpace(*text)) ++text;
  // The number's characters are ASCII; the first other character ends it.
  char narrow[512];
  size_t n = 0;
  bool hasPoint = false;
  for (; n + 1 < sizeof narrow && text[n] > 0 && text[n] < 0x80; ++n) {
    narrow[n] = static_cast<char>(text[n]);
    hasPoint = hasPoint || narrow[n] == '.';
  }
  narrow[n] = '\0';
  if (!hasPoint) {
    for (size_t i = 0; i < n; ++i) {
      if (narrow[i] == ',') {
        narrow[i] = '.';
        break;
      }
    }
  }
  const locale_t c = CLocale();
  if (c == static_cast<locale_t>(nullptr)) return 0.0;
  return strtod_l(narrow, nullptr, c);
}

void FormatIntText(int value, wchar_t* buffer) {
  char narrow[16];
  const auto end = std::to_chars(narrow, narrow + sizeof narrow, value).ptr;
  size_t i = 0;
  for (const char* p = narrow; p != end; ++p) buffer[i++] = static_cast<wchar_t>(*p);
  buffer[i] = L'\0';
}

void FormatDoubleText(double value, wchar_t* buffer) {
  char narrow[512];
  const auto result =
      std::to_chars(narrow, narrow + sizeof narrow - 1, value, std::chars_format::fixed, 6);
  size_t i = 0;
  for (const char* p = narrow; p != result.ptr; ++p) buffer[i++] = static_cast<wchar_t>(*p);
  buffer[i] = L'\0';
}

bool HasAcceptablePathForm(const wchar_t* text) {
  size_t i = 0;
  for (; text[i] != L'\0'; ++i) {
    const wchar_t c = text[i];
    if (i == 0 && !((c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'))) return false;
    if (i == 1 && c != L':') return false;
    if (i == 2 && !IsSeparator(c)) return false;
    if (i >= 3 && c == L'.' && IsSeparator(text[i - 1])) {
      const wchar_t next = text[i + 1];
      if (IsSeparator(next)) return false;
      if (next == L'.' && IsSeparator(text[i + 2])) return false;
    }
  }
  return i <= 260;
}

}  // namespace AccessLibraryBaseCpp
