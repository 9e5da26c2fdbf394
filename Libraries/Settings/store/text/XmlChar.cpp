// Value texts from the API into the tree's UTF-8.
#include "text/XmlChar.h"

#include <cwchar>

#include "KeyTreeStore.h"
#include "text/Utf8.h"

namespace keytreestore {

int ValueToUtf8(const wchar_t* value, char* out, size_t* size) {
  if (value == nullptr) return STORE_E_BAD_ARGUMENT;
  if (wcsnlen(value, STORE_MAX_VALUE_LENGTH + 1) > STORE_MAX_VALUE_LENGTH) return STORE_E_TOO_LONG;
  size_t used = 0;
  for (const wchar_t* p = value; *p != L'\0'; ++p) {
    if (*p == L'\r' && p[1] == L'\n') continue;
    const wchar_t c = *p == L'\r' ? L'\n' : *p;
    if (!IsXmlChar(static_cast<unsigned long>(c))) return STORE_E_BAD_ARGUMENT;
    used += EncodeUtf8(c, out + used);
  }
  out[used] = '\0';
  *size = used;
  return STORE_OK;
}

}  // namespace keytreestore
