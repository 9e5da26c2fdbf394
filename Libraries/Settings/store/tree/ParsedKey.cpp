// Key grammar of the settings store: "/" Name ["[" Digits "]"] { "/" Name ["[" Digits "]"] }.
// Names follow XML's name rules so that a key can never create an element that
// would make the saved file unreadable.
#include "tree/ParsedKey.h"

#include <climits>

#include "KeyTreeStore.h"
#include "text/Utf8.h"
#include "text/XmlChar.h"

namespace keytreestore {
namespace {

bool IsNameStart(wchar_t c) {
  return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_' || c == L':' ||
         (c >= 0xC0 && c != 0xD7 && c != 0xF7 && IsXmlChar(static_cast<unsigned long>(c)));
}

bool IsNameChar(wchar_t c) {
  return IsNameStart(c) || (c >= L'0' && c <= L'9') || c == L'-' || c == L'.' || c == 0xB7;
}

}  // namespace

int ParsedKey::Parse(const wchar_t* key) {
  count_ = 0;
  if (key == nullptr || key[0] == L'\0') return STORE_E_BAD_ARGUMENT;
  if (wcsnlen(key, STORE_MAX_KEY_LENGTH + 1) > STORE_MAX_KEY_LENGTH) return STORE_E_TOO_LONG;
  if (key[0] != L'/') return STORE_E_BAD_KEY;
  size_t used = 0;
  const wchar_t* p = key;
  while (*p == L'/') {
    ++p;
    if (count_ == kMaxSteps) return STORE_E_BAD_KEY;
    KeyStep& step = steps_[count_];
    step.name = names_ + used;
    if (!IsNameStart(*p)) return STORE_E_BAD_KEY;
    while (IsNameChar(*p)) used += EncodeUtf8(*p++, names_ + used);
    step.length = static_cast<size_t>(names_ + used - step.name);
    names_[used++] = '\0';
    step.index = 0;
    step.listed = *p == L'[';
    if (step.listed) {
      ++p;
      if (*p < L'0' || *p > L'9') return STORE_E_BAD_KEY;
      long long index = 0;
      while (*p >= L'0' && *p <= L'9') {
        index = index * 10 + (*p++ - L'0');
        if (index > INT_MAX) return STORE_E_BAD_KEY;
      }
      if (*p++ != L']') return STORE_E_BAD_KEY;
      step.index = static_cast<int>(index);
    }
    ++count_;
  }
  return *p == L'\0' ? STORE_OK : STORE_E_BAD_KEY;
}

std::string ParsedKey::Canonical(size_t steps) const {
  if (steps > count_) steps = count_;
  // "/", "[", at most ten digits and "]" besides each name.
  size_t bytes = 0;
  for (size_t i = 0; i < steps; ++i) bytes += steps_[i].length + 13;
  std::string text;
  text.reserve(bytes);
  for (size_t i = 0; i < steps; ++i) {
    text += '/';
    text.append(steps_[i].name, steps_[i].length);
    char digits[12];
    char* first = digits + sizeof digits;
    *--first = ']';
    unsigned index = static_cast<unsigned>(steps_[i].index);
    do {
      *--first = static_cast<char>('0' + index % 10);
      index /= 10;
    } while (index != 0);
    *--first = '[';
    text.append(first, static_cast<size_t>(digits + sizeof digits - first));
  }
  return text;
}

}  // namespace keytreestore
