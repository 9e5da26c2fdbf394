// Showing outside texts in failure notes.
#include "text/Printable.h"

#include <cstdio>
#include <cstring>

#include "text/Utf8.h"
#include "util/FailureNote.h"

namespace keytreestore {

std::string Printable(const std::string& text, size_t most) {
  std::string shown;
  size_t at = 0;
  while (at < text.size()) {
    wchar_t c = 0;
    size_t length = DecodeUtf8(text.data() + at, text.size() - at, &c);
    std::string piece = text.substr(at, length);
    if (length == 0 || c < 0x20 || (c >= 0x7F && c < 0xA0)) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X",
                    static_cast<unsigned>(static_cast<unsigned char>(text[at])));
      piece = escaped;
      length = 1;
    }
    if (shown.size() + piece.size() > most) return shown + "...";
    shown += piece;
    at += length;
  }
  return shown;
}

void NoteSystemFailure(const char* what, const std::string& path, int error) {
  char text[256];
  // The GNU strerror_r, safe on every thread, gives its text or one of its own.
  NoteFailure("%s %s: %s", what, Printable(path).c_str(), strerror_r(error, text, sizeof text));
}

}  // namespace keytreestore
