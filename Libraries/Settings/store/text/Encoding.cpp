// Telling, decoding and encoding a settings file's encoding, through iconv.
#include "text/Encoding.h"

#include <iconv.h>
#include <strings.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "KeyTreeStore.h"
#include "text/Utf8.h"

namespace keytreestore {
namespace {

struct Mark {
  const char* bytes;
  size_t size;
  const char* iconvName;  // the byte order the mark says
  const char* family;     // what a declaration may say beside it
};

// Longest first: a UTF-32 LE mark starts as a UTF-16 LE one.
const Mark kMarks[] = {{"\x00\x00\xFE\xFF", 4, "UTF-32BE", "UTF-32"},
                       {"\xFF\xFE\x00\x00", 4, "UTF-32LE", "UTF-32"},
                       {"\xFE\xFF", 2, "UTF-16BE", "UTF-16"},
                       {"\xFF\xFE", 2, "UTF-16LE", "UTF-16"}};

// The encoding an ASCII-compatible XML declaration at the start of bytes names
// (after blanks, as the parser takes it, and as a save writes it first), and
// where its value starts; empty when there is none.
std::string DeclaredEncoding(const char* bytes, size_t size, size_t* at) {
  const std::string start(bytes, size < 512 ? size : 512);
  const size_t open = start.find_first_not_of(" \t\r\n");
  if (open == std::string::npos || start.compare(open, 5, "<?xml") != 0) return std::string();
  const size_t end = start.find("?>", open);
  const size_t name = start.find("encoding", open + 5);
  if (name == std::string::npos || name > end) return std::string();
  size_t i = start.find_first_not_of(" \t\r\n", name + 8);
  if (i == std::string::npos || start[i] != '=') return std::string();
  i = start.find_first_not_of(" \t\r\n", i + 1);
  if (i == std::string::npos || (start[i] != '"' && start[i] != '\'')) return std::string();
  const size_t close = start.find(start[i], i + 1);
  if (close == std::string::npos || close > end) return std::string();
  *at = i + 1;
  return start.substr(i + 1, close - i - 1);
}

// Whether name is an encoding name as XML writes one, [A-Za-z][A-Za-z0-9._-]*, of
// at most 40 characters.
bool IsEncodingName(const std::string& name) {
  const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  if (name.empty() || name.size() > 40 || !letter(name[0])) return false;
  for (const char c : name) {
    if (!letter(c) && !(c >= '0' && c <= '9') && c != '.' && c != '_' && c != '-') return false;
  }
  return true;
}

// Whether UTF-16 names ("UTF-16", "UTF-16LE") and the like belong to family.
bool InFamily(const std::string& name, const char* family) {
  return strncasecmp(name.c_str(), family, std::strlen(family)) == 0;
}

// Converts in through cd into out; false with *stopped at the byte that did not
// convert.
bool Convert(iconv_t cd, const std::string& in, std::string* out, size_t* stopped) {
  out->clear();
  char* from = const_cast<char*>(in.data());
  size_t left = in.size();
  char buffer[4096];
  while (left > 0) {
    char* to = buffer;
    size_t room = sizeof buffer;
    const size_t done = iconv(cd, &from, &left, &to, &room);
    out->append(buffer, static_cast<size_t>(to - buffer));
    if (done == static_cast<size_t>(-1) && errno != E2BIG) {
      if (stopped != nullptr) *stopped = static_cast<size_t>(from - in.data());
      return false;
    }
  }
  char* to = buffer;
  size_t room = sizeof buffer;
  iconv(cd, nullptr, nullptr, &to, &room);  // the shift state back to its start
  out->append(buffer, static_cast<size_t>(to - buffer));
  return true;
}

bool ConvertNamed(const char* to, const char* from, const std::string& in, std::string* out,
                  size_t* stopped) {
  const iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  const bool converted = Convert(cd, in, out, stopped);
  iconv_close(cd);
  return converted;
}

}  // namespace

int FileEncoding::Sniff(const char* bytes, size_t size, FileEncoding* encoding, std::string* why,
                        size_t* offset) {
  *encoding = FileEncoding();
  for (const Mark& mark : kMarks) {
    if (size < mark.size || std::memcmp(bytes, mark.bytes, mark.size) != 0) continue;
    // The declaration, if any, is read in the mark's encoding.
    const std::string head(bytes + mark.size, size - mark.size < 1024 ? size - mark.size : 1024);
    std::string ascii;
    size_t stopped = 0;
    ConvertNamed("UTF-8", mark.iconvName, head.substr(0, head.size() & ~size_t{3}), &ascii,
                 &stopped);
    size_t at = 0;
    const std::string declared = DeclaredEncoding(ascii.data(), ascii.size(), &at);
    if (!declared.empty() && (!IsEncodingName(declared) || !InFamily(declared, mark.family))) {
      *why =
          "the byte-order mark says " + std::string(mark.family) + ", the declaration " + declared;
      *offset = 0;
      return STORE_E_PARSE;
    }
    *encoding = FileEncoding(declared.empty() ? mark.family : declared,
                             std::string(mark.bytes, mark.size), mark.iconvName);
    return STORE_OK;
  }
  size_t at = 0;
  const std::string declared = DeclaredEncoding(bytes, size, &at);
  if (!declared.empty() && !IsEncodingName(declared)) {
    *why = "the declaration names no encoding: letters, digits, \".\", \"_\" and \"-\" only";
    *offset = at;
    return STORE_E_PARSE;
  }
  if (declared.empty() || strcasecmp(declared.c_str(), "UTF-8") == 0 ||
      strcasecmp(declared.c_str(), "UTF8") == 0) {
    return STORE_OK;
  }
  const iconv_t cd = iconv_open("UTF-8", declared.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    *why = "the declared encoding \"" + declared + "\" is not one this system can read";
    *offset = at;
    return STORE_E_PARSE;
  }
  iconv_close(cd);
  // The markup, the declaration included, must read as ASCII in the encoding, or
  // the file the store writes back could not be read again (UTF-7, EBCDIC).
  std::string ascii = "\t\n\r";
  for (char c = ' '; c < 0x7F; ++c) ascii += c;
  std::string written;
  if (!ConvertNamed(declared.c_str(), "UTF-8", ascii, &written, nullptr) || written != ascii) {
    *why = "the declared encoding \"" + declared + "\" does not write XML markup as ASCII";
    *offset = at;
    return STORE_E_PARSE;
  }
  *encoding = FileEncoding(declared, std::string(), declared);
  return STORE_OK;
}

bool FileEncoding::Named(const std::string& name, FileEncoding* encoding) {
  if (strcasecmp(name.c_str(), "UTF-8") == 0 || strcasecmp(name.c_str(), "UTF8") == 0) {
    *encoding = FileEncoding();
    return true;
  }
  for (const Mark& mark : kMarks) {
    if (strcasecmp(name.c_str(), mark.family) != 0 || std::strstr(mark.iconvName, "LE") == nullptr)
      continue;
    *encoding = FileEncoding(mark.family, std::string(mark.bytes, mark.size), mark.iconvName);
    return true;
  }
  const iconv_t cd = iconv_open(name.c_str(), "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  iconv_close(cd);
  *encoding = FileEncoding(name, std::string(), name);
  return true;
}

bool FileEncoding::Decode(const std::string& bytes, std::string* utf8, size_t* offset) const {
  const std::string body = bytes.substr(mark_.size());
  size_t stopped = 0;
  if (ConvertNamed("UTF-8", iconvName_.c_str(), body, utf8, &stopped)) return true;
  *offset = mark_.size() + stopped;
  return false;
}

bool FileEncoding::Encode(const std::string& utf8, std::string* bytes, bool references) const {
  std::string body;
  std::string part;
  size_t at = 0;
  size_t stopped = 0;
  while (!ConvertNamed(iconvName_.c_str(), "UTF-8", utf8.substr(at), &part, &stopped)) {
    wchar_t c = 0;
    const size_t length = DecodeUtf8(utf8.data() + at + stopped, utf8.size() - at - stopped, &c);
    if (!references || length == 0) return false;
    // A character the encoding does not have, as the character reference it
    // came in as: only text and attribute values hold one, and only those can
    // hold a character a file in this encoding did not name by its bytes.
    char reference[16];
    std::snprintf(reference, sizeof reference, "&#x%lX;", static_cast<unsigned long>(c));
    std::string encoded;
    if (!ConvertNamed(iconvName_.c_str(), "UTF-8", reference, &encoded, nullptr)) return false;
    // The part before the character converted; iconv kept its shift state.
    ConvertNamed(iconvName_.c_str(), "UTF-8", utf8.substr(at, stopped), &part, nullptr);
    body += part + encoded;
    at += stopped + length;
  }
  *bytes = mark_ + body + part;
  return true;
}

bool FileEncoding::Holds(const char* utf8, size_t size) const {
  std::string bytes;
  return IsUtf8() || Encode(std::string(utf8, size), &bytes, false);
}

}  // namespace keytreestore
