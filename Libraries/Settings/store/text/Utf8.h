// Conversion between the API's wchar_t texts (UTF-32) and the UTF-8 of the files.
#ifndef DICOMSETTINGS_STORE_TEXT_UTF8_H
#define DICOMSETTINGS_STORE_TEXT_UTF8_H

#include <atomic>
#include <cstddef>
#include <string>

namespace keytreestore {

// True for a code point that UTF-8 can carry (no surrogates, at most U+10FFFF).
bool IsScalarValue(wchar_t c);

// EncodeUtf8 of a character beyond ASCII.
size_t EncodeMultiByteUtf8(wchar_t c, char* out);

// Writes the UTF-8 form of c to out (c must satisfy IsScalarValue). Returns bytes
// written. Inline for ASCII, which keys and most values are made of.
inline size_t EncodeUtf8(wchar_t c, char* out) {
  if (static_cast<unsigned long>(c) < 0x80) {
    out[0] = static_cast<char>(c);
    return 1;
  }
  return EncodeMultiByteUtf8(c, out);
}

// Appends the UTF-8 form of a NUL-terminated text; false (out unchanged in length
// beyond what was appended) when the text holds a code point UTF-8 cannot carry.
bool AppendUtf8(std::string& out, const wchar_t* text);

// Decodes one UTF-8 sequence at text[0..length); returns its byte length, or 0 when
// the bytes there are not well-formed UTF-8 (overlong, surrogate, truncated, > U+10FFFF).
size_t DecodeUtf8(const char* text, size_t length, wchar_t* out);

// Decodes text[0..length) into out, which holds capacity wchar_t including the NUL.
// Returns the number of characters, or -1 when they do not fit (out is then untouched
// beyond its first capacity entries) and -2 when the bytes are not valid UTF-8.
long Utf8ToWide(const char* text, size_t length, wchar_t* out, size_t capacity);

// Offset of the first byte that is not well-formed UTF-8 or that starts a
// character XML 1.0 cannot hold raw (a C0 control character other than tab, line
// feed and carriage return, NUL included; U+FFFE; U+FFFF), or of the first ASCII
// byte stop (a caller's byte to look at, '\0' for none), or length when there is
// none. *invalid tells which stopped it (true: not UTF-8). One pass, in blocks of
// bytes at a time over runs of ASCII.
size_t FindUnholdableUtf8(const char* text, size_t length, bool* invalid, char stop = '\0');

// FindUnholdableUtf8 and NestingScan pass runs of bytes in blocks at once: with
// 32-byte AVX2 registers where the processor has them, else with the 16-byte
// SSE2 registers every x86-64 processor has. UseWideBlocks(false) makes both take
// the 16-byte path on any processor, until UseWideBlocks(true) (the default), so
// that the tests run that path too. Process-wide: a scan running meanwhile may
// take either path, with the same result.
namespace blocks {
// Whether the processor has AVX2 and popcnt.
bool ProcessorHasAvx2();
// Whether the scans take their AVX2 path. A scan that runs before this is set
// (from another file's static initialisation) reads false and takes the 16-byte
// path.
inline std::atomic<bool> wide{ProcessorHasAvx2()};
}  // namespace blocks

inline void UseWideBlocks(bool use) {
  blocks::wide.store(use && blocks::ProcessorHasAvx2(), std::memory_order_relaxed);
}

// Whether a scan takes the AVX2 path: one relaxed load, where the scan picks its
// path.
inline bool WideBlocks() {
  return blocks::wide.load(std::memory_order_relaxed);
}

}  // namespace keytreestore

#endif
