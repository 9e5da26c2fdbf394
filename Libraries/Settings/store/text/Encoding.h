// The encoding a settings file is written in, when it is not UTF-8: a file that
// starts with a UTF-16 or UTF-32 byte-order mark, or whose XML declaration names
// another encoding (ISO-8859-1, windows-1252, Shift_JIS, EUC-JP, any the C
// library's iconv knows). Such a file is decoded into UTF-8 when read, and
// encoded back, with the same declaration and mark, when saved: other readers of
// the file keep working.
#ifndef DICOMSETTINGS_STORE_TEXT_ENCODING_H
#define DICOMSETTINGS_STORE_TEXT_ENCODING_H

#include <cstddef>
#include <string>

namespace keytreestore {

class FileEncoding {
 public:
  // UTF-8, without a mark.
  FileEncoding() = default;

  // The encoding of a file that starts with bytes (at least its first 512, or all
  // of it): STORE_OK; STORE_E_PARSE with *why and *offset (where in bytes) for a
  // declaration naming an encoding iconv does not know or one that does not
  // write ASCII as ASCII (UTF-7, EBCDIC: what is written back could not be read
  // again), or a mark that contradicts the declaration.
  static int Sniff(const char* bytes, size_t size, FileEncoding* encoding, std::string* why,
                   size_t* offset);

  // The encoding a file is to be written in from now on, by name ("UTF-8",
  // "Shift_JIS"; UTF-16 and UTF-32 little-endian with a mark): false when iconv
  // does not know it.
  static bool Named(const std::string& name, FileEncoding* encoding);

  bool IsUtf8() const { return name_.empty(); }
  // The name as the file gives it ("Shift_JIS", "UTF-16"); "UTF-8" for UTF-8.
  std::string Name() const { return name_.empty() ? "UTF-8" : name_; }

  // Decodes a whole file into UTF-8 (the mark dropped). False with *offset, the
  // byte of bytes where decoding stopped (a sequence the encoding does not have,
  // or cut short).
  bool Decode(const std::string& bytes, std::string* utf8, size_t* offset) const;
  // Encodes UTF-8 text as the file is written, the mark first; with references,
  // a character the encoding does not have is written as a character reference
  // ("&#x1F600;": text of the file's own references comes back so). False when a
  // character cannot be written.
  bool Encode(const std::string& utf8, std::string* bytes, bool references = true) const;
  // Whether every character of utf8[0..size) can be written in this encoding.
  bool Holds(const char* utf8, size_t size) const;

 private:
  FileEncoding(std::string name, std::string mark, std::string iconvName)
      : name_(std::move(name)), mark_(std::move(mark)), iconvName_(std::move(iconvName)) {}

  std::string name_;       // as the file names it; empty for UTF-8
  std::string mark_;       // the byte-order mark the file starts with, or empty
  std::string iconvName_;  // what iconv is asked for ("UTF-16LE" for a marked UTF-16 file)
};

}  // namespace keytreestore

#endif
