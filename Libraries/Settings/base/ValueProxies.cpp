// The four value proxies: binding, text-level store calls and value conversions.
#include <cwchar>
#include <memory>

#include "AccessLibraryBaseCpp.h"
#include "KeyTreeStore.h"
#include "ValueText.h"

namespace AccessLibraryBaseCpp {
namespace {
constexpr wchar_t kTrueText[] = L"TRUE";
constexpr wchar_t kFalseText[] = L"FALSE";

// A proxy's stored text converted by parse, or failure when it cannot be read.
template <class T>
T ReadConverted(const ProxyCore& proxy, T (*parse)(const wchar_t*), T failure) {
  wchar_t text[STORE_VALUE_BUFFER_LENGTH];
  return proxy.ReadText(text) == STORE_OK ? parse(text) : failure;
}
}  // namespace

std::wstring ProxyCore::GetKey() const {
  std::wstring key;
  if (keyHead_) key.assign(keyHead_.c_str(), keyHead_.length());
  if (keyTail_ != nullptr) key += keyTail_;
  return key;
}

const wchar_t* ProxyCore::ComposeKey(wchar_t* buffer) const {
  if (keyTail_ == nullptr) return keyHead_.c_str();
  if (!keyHead_) return keyTail_;
  const size_t head = keyHead_.length();
  wmemcpy(buffer, keyHead_.c_str(), head);
  wcscpy(buffer + head, keyTail_);  // length checked when bound
  return buffer;
}

int ProxyCore::ReadText(wchar_t* buffer) const {
  if (!IsBound()) return STORE_E_BAD_ARGUMENT;
  wchar_t key[STORE_VALUE_BUFFER_LENGTH];
  return StoreGetValue(buffer, path_.c_str(), ComposeKey(key));
}

int ProxyCore::WriteText(const wchar_t* text) const {
  if (!IsBound()) return STORE_E_BAD_ARGUMENT;
  wchar_t key[STORE_VALUE_BUFFER_LENGTH];
  return StoreSetValue(path_.c_str(), ComposeKey(key), text);
}

void ProxyCore::BindShared(const SharedText& path, const SharedText& head, const wchar_t* tail) {
  const size_t tailLength = tail != nullptr ? wcslen(tail) : 0;
  const size_t keyLength = head.length() + tailLength;
  if (!path || keyLength == 0 || keyLength > static_cast<size_t>(kMaxKeyLength)) {
    path_.reset();
    keyHead_.reset();
    keyTail_ = nullptr;
    return;
  }
  path_ = path;
  keyHead_ = head.length() != 0 ? head : SharedText();
  keyTail_ = tailLength != 0 ? tail : nullptr;
}

void ProxyCore::BindCopy(const wchar_t* key, const wchar_t* path) {
  const size_t keyLength = key != nullptr ? wcsnlen(key, kMaxKeyLength + 1) : 0;
  const size_t pathLength = path != nullptr ? wcsnlen(path, kMaxPathLength + 1) : 0;
  if (key == nullptr || path == nullptr || keyLength > static_cast<size_t>(kMaxKeyLength) ||
      pathLength > static_cast<size_t>(kMaxPathLength)) {
    BindShared(SharedText(), SharedText(), nullptr);
    return;
  }
  BindShared(SharedText(path, pathLength), SharedText(key, keyLength), nullptr);
}

void ProxyCore::AssignFrom(const ProxyCore& other) {
  if (!IsBound()) {
    path_ = other.path_;
    keyHead_ = other.keyHead_;
    keyTail_ = other.keyTail_;
    return;
  }
  CopyValueFrom(other);
}

void ProxyCore::CopyValueFrom(const ProxyCore& other) const {
  if (!IsBound()) return;
  wchar_t text[STORE_VALUE_BUFFER_LENGTH];
  if (other.Read(text)) WriteText(text);
}

IntProxy& IntProxy::operator=(int value) {
  wchar_t text[16];
  FormatIntText(value, text);
  WriteText(text);
  return *this;
}

IntProxy::operator int() const {
  return ReadConverted(*this, &ParseIntText, kIntReadFailure);
}

DoubleProxy& DoubleProxy::operator=(double value) {
  wchar_t text[STORE_VALUE_BUFFER_LENGTH];
  FormatDoubleText(value, text);
  WriteText(text);
  return *this;
}

DoubleProxy::operator double() const {
  return ReadConverted(*this, &ParseDoubleText, kDoubleReadFailure);
}

BoolProxy& BoolProxy::operator=(int value) {
  if (IsBound()) WriteText(value != 0 ? kTrueText : kFalseText);
  return *this;
}

BoolProxy::operator int() const {
  wchar_t text[STORE_VALUE_BUFFER_LENGTH];
  if (!Read(text)) return 0;
  // Only a four-character text can upper-case to "TRUE".
  if (wcslen(text) != 4) return 0;
  wchar_t* upper = nullptr;
  StringToUpper(&upper, text);
  std::unique_ptr<wchar_t[]> release(upper);
  return wcscmp(upper, kTrueText) == 0 ? 1 : 0;
}

void BoolProxy::StringToUpper(wchar_t** out, const wchar_t* text) {
  const size_t length = wcslen(text);
  wchar_t* upper = new wchar_t[length + 1]();
  for (size_t i = 0; i < length; ++i) {
    const wchar_t c = text[i];
    upper[i] = (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
  }
  *out = upper;
}

StringProxy& StringProxy::operator=(const std::wstring& value) {
  // An embedded NUL would cut the text short; such a value is refused whole.
  if (value.find(L'\0') == std::wstring::npos) *this = value.c_str();
  return *this;
}

StringProxy& StringProxy::operator=(const wchar_t* value) {
  if (value != nullptr && wcsnlen(value, STORE_MAX_VALUE_LENGTH + 1) <= STORE_MAX_VALUE_LENGTH) {
    WriteText(value);
  }
  return *this;
}

StringProxy::operator std::wstring() const {
  wchar_t text[STORE_VALUE_BUFFER_LENGTH];
  return Read(text) ? std::wstring(text) : std::wstring();
}

}  // namespace AccessLibraryBaseCpp
