// The characters an XML 1.0 document can hold: the one rule behind every check of
// the store's texts (a file's bytes and character references, element names in
// keys, values set through the API, lines kept in etcd), so that whatever the
// store accepts saves into a file it accepts again.
#ifndef DICOMSETTINGS_STORE_TEXT_XMLCHAR_H
#define DICOMSETTINGS_STORE_TEXT_XMLCHAR_H

#include <cstddef>

namespace keytreestore {

// XML 1.0's Char: tab, line feed, carriage return, and the scalar values from
// U+0020 on, but for U+FFFE and U+FFFF.
constexpr bool IsXmlChar(unsigned long c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// Longest UTF-8 form of a value text, with its NUL.
constexpr size_t kMaxValueUtf8 = 511 * 4 + 1;

// A value text given through the API as the UTF-8 the tree holds, in out
// (kMaxValueUtf8 bytes, NUL terminated, *size bytes without it). Line ends are
// kept as XML reads them back from a file: "\r\n" and "\r" become "\n".
// STORE_OK; STORE_E_BAD_ARGUMENT for a null value or a character XML cannot hold;
// STORE_E_TOO_LONG over STORE_MAX_VALUE_LENGTH characters. out is unspecified on
// failure.
int ValueToUtf8(const wchar_t* value, char* out, size_t* size);

}  // namespace keytreestore

#endif
