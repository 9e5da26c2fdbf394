// UTF-8 encoding and strict decoding for the settings store.
#include "text/Utf8.h"

#include <cstdint>
#include <cstring>

#include "text/XmlChar.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace keytreestore {

bool IsScalarValue(wchar_t c) {
  const unsigned long u = static_cast<unsigned long>(c);
  return u <= 0x10FFFFul && !(u >= 0xD800ul && u <= 0xDFFFul);
}

size_t EncodeMultiByteUtf8(wchar_t c, char* out) {
  const unsigned long u = static_cast<unsigned long>(c);
  if (u < 0x800) {
    out[0] = static_cast<char>(0xC0 | (u >> 6));
    out[1] = static_cast<char>(0x80 | (u & 0x3F));
    return 2;
  }
  if (u < 0x10000) {
    out[0] = static_cast<char>(0xE0 | (u >> 12));
    out[1] = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (u & 0x3F));
    return 3;
  }
  out[0] = static_cast<char>(0xF0 | (u >> 18));
  out[1] = static_cast<char>(0x80 | ((u >> 12) & 0x3F));
  out[2] = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
  out[3] = static_cast<char>(0x80 | (u & 0x3F));
  return 4;
}

bool AppendUtf8(std::string& out, const wchar_t* text) {
  char bytes[4];
  for (; *text != L'\0'; ++text) {
    if (!IsScalarValue(*text)) return false;
    out.append(bytes, EncodeUtf8(*text, bytes));
  }
  return true;
}

size_t DecodeUtf8(const char* text, size_t length, wchar_t* out) {
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  if (length == 0) return 0;
  const unsigned char b0 = s[0];
  if (b0 < 0x80) {
    *out = static_cast<wchar_t>(b0);
    return 1;
  }
  size_t need;
  unsigned long cp;
  unsigned long min;
  if ((b0 & 0xE0) == 0xC0) {
    need = 2, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    need = 3, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    need = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (length < need) return 0;
  for (size_t i = 1; i < need; ++i) {
    if ((s[i] & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (s[i] & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  *out = static_cast<wchar_t>(cp);
  return need;
}

long Utf8ToWide(const char* text, size_t length, wchar_t* out, size_t capacity) {
  size_t written = 0;
  size_t i = 0;
  while (i < length) {
    wchar_t c;
    const size_t n = DecodeUtf8(text + i, length - i, &c);
    if (n == 0) return -2;
    if (written + 1 >= capacity) return -1;
    out[written++] = c;
    i += n;
  }
  if (capacity == 0) return -1;
  out[written] = L'\0';
  return static_cast<long>(written);
}

namespace {

#if defined(__SSE2__)
// Marks each byte that is not ASCII, is a control character other than tab,
// line feed and carriage return, or is stop. As signed values, the bytes of
// multi-byte sequences are the negative ones.
__m128i NotPlainAscii(__m128i bytes, char stop) {
  const __m128i low = _mm_cmplt_epi8(bytes, _mm_set1_epi8(0x20));
  const __m128i allowed = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\t')),
                                                    _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n'))),
                                       _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r')));
  return _mm_or_si128(_mm_andnot_si128(allowed, low), _mm_cmpeq_epi8(bytes, _mm_set1_epi8(stop)));
}

__m128i Load16(const char* text) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(text));
}
#endif

#if defined(__x86_64__) && defined(__GNUC__)
// NotPlainAscii with 32-byte registers.
__attribute__((target("avx2"))) __m256i NotPlainAscii32(__m256i bytes, __m256i stop) {
  const __m256i allowed =
      _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi8(bytes, _mm256_set1_epi8('\t')),
                                      _mm256_cmpeq_epi8(bytes, _mm256_set1_epi8('\n'))),
                      _mm256_cmpeq_epi8(bytes, _mm256_set1_epi8('\r')));
  return _mm256_or_si256(
      _mm256_andnot_si256(allowed, _mm256_cmpgt_epi8(_mm256_set1_epi8(0x20), bytes)),
      _mm256_cmpeq_epi8(bytes, stop));
}

// The bytes at text, in whole blocks of sixty-four, before the first block that
// holds a byte that is not plain ASCII.
__attribute__((target("avx2"))) size_t PlainBlocksAvx2(const char* text, size_t length, char stop) {
  const __m256i stops = _mm256_set1_epi8(stop);
  size_t i = 0;
  for (; length - i >= 64; i += 64) {
    const auto* block = reinterpret_cast<const __m256i*>(text + i);
    const __m256i marked = _mm256_or_si256(NotPlainAscii32(_mm256_loadu_si256(block), stops),
                                           NotPlainAscii32(_mm256_loadu_si256(block + 1), stops));
    if (!_mm256_testz_si256(marked, marked)) break;
  }
  return i;
}
#endif

// The bytes at text before the first sixty-four-byte block that needs a closer
// look, where the processor can pass such blocks at once; 0 elsewhere.
size_t PlainBlocks(const char* text, size_t length, char stop) {
#if defined(__x86_64__) && defined(__GNUC__)
  if (WideBlocks()) return PlainBlocksAvx2(text, length, stop);
#endif
  (void)text;
  (void)length;
  (void)stop;
  return 0;
}

// How many of the sixteen bytes at text, from the first, are plain ASCII; the
// caller looks at the others one by one.
size_t PlainAsciiPrefix16(const char* text, char stop) {
#if defined(__SSE2__)
  const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(NotPlainAscii(Load16(text), stop)));
  if (mask == 0) return 16;
  size_t plain = 0;
  while ((mask & (1u << plain)) == 0) ++plain;
  return plain;
#else
  (void)text;
  (void)stop;
  return 0;
#endif
}

}  // namespace

bool blocks::ProcessorHasAvx2() {
#if defined(__x86_64__) && defined(__GNUC__)
  __builtin_cpu_init();  // called from static initialisation, maybe before libgcc sets it up
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt");
#else
  return false;
#endif
}

size_t FindUnholdableUtf8(const char* text, size_t length, bool* invalid, char stop) {
  size_t i = 0;
  for (;;) {
    // Settings files are mostly ASCII: such bytes are passed sixty-four at once
    // where the processor can, then sixteen.
    i += PlainBlocks(text + i, length - i, stop);
    while (length - i >= 16) {
      const size_t plain = PlainAsciiPrefix16(text + i, stop);
      i += plain;
      if (plain != 16) break;
    }
    if (i >= length) return length;
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      if (!IsXmlChar(c) || c == static_cast<unsigned char>(stop)) {
        *invalid = false;
        return i;
      }
      ++i;
      continue;
    }
    // Text in other scripts comes in runs: their characters are taken one after
    // another before the search for plain bytes starts again.
    do {
      // Three bytes is the common case (kana, kanji): taken apart in place.
      const auto* b = reinterpret_cast<const unsigned char*>(text + i);
      if ((b[0] & 0xF0) == 0xE0 && length - i >= 3 && (b[1] & 0xC0) == 0x80 &&
          (b[2] & 0xC0) == 0x80) {
        const unsigned code = (b[0] & 0x0Fu) << 12 | (b[1] & 0x3Fu) << 6 | (b[2] & 0x3Fu);
        if (code >= 0x800 && IsXmlChar(code)) {
          i += 3;
          continue;
        }
      }
      wchar_t decoded;
      const size_t n = DecodeUtf8(text + i, length - i, &decoded);
      if (n == 0 || !IsXmlChar(static_cast<unsigned long>(decoded))) {
        *invalid = n == 0;
        return i;
      }
      i += n;
    } while (i < length && static_cast<unsigned char>(text[i]) >= 0x80);
  }
}

}  // namespace keytreestore
