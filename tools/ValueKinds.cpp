// Strict parsing of integer, floating-point and boolean texts, and the forms
// values are stored in.
#include "ValueKinds.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cwchar>
#include <cwctype>

#include "KeyTreeStore.h"
#include "WideText.h"

namespace dicomsettings_tool {
namespace {

// text without the blanks around it.
std::wstring Trimmed(const std::wstring& text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && std::iswspace(text[first])) ++first;
  while (last > first && std::iswspace(text[last - 1])) --last;
  return text.substr(first, last - first);
}

bool ParseInteger(const std::wstring& text, int* value) {
  const std::wstring t = Trimmed(text);
  size_t i = (!t.empty() && (t[0] == L'+' || t[0] == L'-')) ? 1 : 0;
  if (i == t.size()) return false;
  long long magnitude = 0;
  for (; i < t.size(); ++i) {
    if (t[i] < L'0' || t[i] > L'9') return false;
    magnitude = magnitude * 10 + (t[i] - L'0');
    if (magnitude > static_cast<long long>(INT_MAX) + 1) return false;
  }
  const long long signedValue = t[0] == L'-' ? -magnitude : magnitude;
  if (signedValue > INT_MAX) return false;
  *value = static_cast<int>(signedValue);
  return true;
}

// Whether text is a sign and digits, however many.
bool IsWholeNumber(const std::wstring& text) {
  const std::wstring t = Trimmed(text);
  const size_t digits = (!t.empty() && (t[0] == L'+' || t[0] == L'-')) ? 1 : 0;
  return t.size() > digits && t.find_first_not_of(L"0123456789", digits) == std::wstring::npos;
}

// A decimal number: sign, digits with one decimal point, optional exponent.
bool ParseNumber(const std::wstring& text, double* value) {
  std::wstring t = Trimmed(text);
  if (t.find(L'.') == std::wstring::npos) {
    const size_t comma = t.find(L',');
    if (comma != std::wstring::npos) t[comma] = L'.';
  }
  if (t.empty() || t.find_first_not_of(L"0123456789+-.eE") != std::wstring::npos) return false;
  const std::string narrow = ToUtf8(t);
  char* end = nullptr;
  const double parsed = std::strtod(narrow.c_str(), &end);
  if (end == narrow.c_str() || *end != '\0' || !std::isfinite(parsed)) return false;
  *value = parsed;
  return true;
}

// 1 for TRUE, 0 for FALSE (any letter case), -1 for anything else.
int ParseBoolean(const std::wstring& text) {
  std::wstring upper;
  for (const wchar_t c : text) upper += static_cast<wchar_t>(std::towupper(c));
  if (upper == L"TRUE") return 1;
  if (upper == L"FALSE") return 0;
  return -1;
}

std::string Quoted(const std::wstring& text) {
  return "\"" + ToUtf8(text) + "\"";
}

bool CanStore(const std::wstring& text, std::string* why) {
  if (text.size() > STORE_MAX_VALUE_LENGTH) {
    *why = "value longer than " + std::to_string(STORE_MAX_VALUE_LENGTH) + " characters";
    return false;
  }
  for (const wchar_t c : text) {
    if (c < 0x20 && c != L'\t' && c != L'\n' && c != L'\r') {
      *why = "value holds a control character a settings file cannot hold";
      return false;
    }
  }
  return true;
}

}  // namespace

bool IsValueText(ValueKind kind, const std::wstring& text, std::string* why) {
  if (text.empty()) return true;
  int integer = 0;
  double number = 0;
  switch (kind) {
    case ValueKind::Integer:
      if (ParseInteger(text, &integer)) return true;
      *why = Quoted(text) + (IsWholeNumber(text)
                                 ? " is out of the range of an integer, " +
                                       std::to_string(INT_MIN) + " to " + std::to_string(INT_MAX)
                                 : " is not an integer");
      return false;
    case ValueKind::FloatingPoint:
      if (ParseNumber(text, &number)) return true;
      *why = Quoted(text) + " is not a number";
      return false;
    case ValueKind::Boolean:
      if (ParseBoolean(text) >= 0) return true;
      *why = Quoted(text) + " is neither TRUE nor FALSE";
      return false;
    case ValueKind::String:
      break;
  }
  return true;
}

bool TextToStore(ValueKind kind, const std::wstring& input, std::wstring* text, std::string* why) {
  if (!CanStore(input, why)) return false;
  if (kind == ValueKind::String) {
    *text = input;
    return true;
  }
  // An empty text clears a value of any kind: read back as not set.
  if (input.empty()) {
    text->clear();
    return true;
  }
  if (!IsValueText(kind, input, why)) return false;
  if (kind == ValueKind::Integer) {
    int value = 0;
    ParseInteger(input, &value);
    *text = std::to_wstring(value);
  } else if (kind == ValueKind::FloatingPoint) {
    double value = 0;
    ParseNumber(input, &value);
    wchar_t buffer[STORE_VALUE_BUFFER_LENGTH];
    std::swprintf(buffer, STORE_VALUE_BUFFER_LENGTH, L"%f", value);
    *text = buffer;
  } else {
    *text = ParseBoolean(input) == 1 ? L"TRUE" : L"FALSE";
  }
  return true;
}

}  // namespace dicomsettings_tool
