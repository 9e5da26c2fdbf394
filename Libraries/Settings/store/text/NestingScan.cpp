// The nesting bound of a settings file, from its bytes: blocks of plain tags and
// text are counted sixty-four bytes at once, the rest byte by byte.
#include "text/NestingScan.h"

#include <algorithm>

#include "text/Utf8.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace keytreestore {
namespace {

constexpr size_t kBlock = 64;

// One bit per byte of a block, the first byte in the lowest bit.
struct BlockMarks {
  uint64_t lt;       // '<'
  uint64_t gt;       // '>'
  uint64_t slash;    // '/'
  uint64_t special;  // '"', '\'', '!', '?': may need a closer look
};

// What the blocks taken so far leave: the elements open, the most open at once,
// and whether the last '<' or '>' was a '<'.
struct BlockCount {
  size_t depth;
  size_t bound;
  bool inTag;
};

#if defined(__SSE2__)
uint64_t Found16(__m128i bytes, char c) {
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(c))));
}

BlockMarks MarkBlock(const char* block) {
  BlockMarks marks{0, 0, 0, 0};
  for (int part = 0; part < 4; ++part) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * part));
    const int shift = 16 * part;
    marks.lt |= Found16(bytes, '<') << shift;
    marks.gt |= Found16(bytes, '>') << shift;
    marks.slash |= Found16(bytes, '/') << shift;
    marks.special |=
        (Found16(bytes, '"') | Found16(bytes, '\'') | Found16(bytes, '!') | Found16(bytes, '?'))
        << shift;
  }
  return marks;
}
#else
BlockMarks MarkBlock(const char* block) {
  BlockMarks marks{0, 0, 0, 0};
  for (size_t i = 0; i < kBlock; ++i) {
    const char c = block[i];
    const uint64_t bit = uint64_t{1} << i;
    if (c == '<') marks.lt |= bit;
    if (c == '>') marks.gt |= bit;
    if (c == '/') marks.slash |= bit;
    if (c == '"' || c == '\'' || c == '!' || c == '?') marks.special |= bit;
  }
  return marks;
}
#endif

#if defined(__x86_64__) && defined(__GNUC__)
__attribute__((target("avx2"))) uint32_t Found32(__m256i bytes, char c) {
  return static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(bytes, _mm256_set1_epi8(c))));
}

__attribute__((target("avx2"))) uint32_t Special32(__m256i bytes) {
  const __m256i quotes = _mm256_or_si256(_mm256_cmpeq_epi8(bytes, _mm256_set1_epi8('"')),
                                         _mm256_cmpeq_epi8(bytes, _mm256_set1_epi8('\'')));
  const __m256i declarations = _mm256_or_si256(_mm256_cmpeq_epi8(bytes, _mm256_set1_epi8('!')),
                                               _mm256_cmpeq_epi8(bytes, _mm256_set1_epi8('?')));
  return static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_or_si256(quotes, declarations)));
}

// MarkBlock with 32-byte registers.
__attribute__((target("avx2"))) BlockMarks MarkBlockAvx2(const char* block) {
  const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block));
  const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block + 32));
  const auto join = [](uint32_t first, uint32_t second) {
    return first | static_cast<uint64_t>(second) << 32;
  };
  return BlockMarks{
      join(Found32(low, '<'), Found32(high, '<')), join(Found32(low, '>'), Found32(high, '>')),
      join(Found32(low, '/'), Found32(high, '/')), join(Special32(low), Special32(high))};
}
#endif

int HighestBit(uint64_t bits) {
  return 63 - __builtin_clzll(bits);
}

size_t Count(uint64_t bits) {
  return static_cast<size_t>(__builtin_popcountll(bits));
}

bool IsQuote(char c) {
  return c == '"' || c == '\'';
}

// Counts the tags of the block at block (block[64] must be readable) into count;
// false, with count untouched, where a quote or a "<!" or "<?" needs a closer
// look, or where more elements close than were open.
template <BlockMarks (*Mark)(const char*)>
inline __attribute__((always_inline)) bool CountBlock(const char* block, BlockCount* count) {
  const BlockMarks marks = Mark(block);
  const char after = block[kBlock];
  if ((marks.special & (marks.lt << 1)) != 0) return false;
  if ((marks.lt >> 63) != 0 && (after == '!' || after == '?')) return false;
  for (uint64_t special = marks.special; special != 0; special &= special - 1) {
    if (IsQuote(block[__builtin_ctzll(special)])) return false;
  }
  // The same marks one byte on: whether the next byte is '/' or '>'.
  const uint64_t slashNext = (marks.slash >> 1) | (uint64_t{after == '/'} << 63);
  const uint64_t gtNext = (marks.gt >> 1) | (uint64_t{after == '>'} << 63);
  const uint64_t starts = marks.lt & ~slashNext;
  // An end tag closes an element at its '<'; "/>" at its '/' where it ends a start
  // tag: where the last '<' or '>' before it is a '<' (or, with neither in the
  // block, where a tag was open when the block began).
  uint64_t closes = marks.lt & slashNext;
  for (uint64_t ends = marks.slash & gtNext & ~(marks.lt << 1); ends != 0; ends &= ends - 1) {
    const uint64_t end = ends & (0 - ends);
    const uint64_t before = (marks.lt | marks.gt) & (end - 1);
    if (before == 0 ? count->inTag : ((marks.lt >> HighestBit(before)) & 1) != 0) closes |= end;
  }
  // However the tags in the block interleave, no more are open at once than
  // were before it and start in it.
  const size_t open = count->depth + Count(starts);
  const size_t closed = Count(closes);
  if (closed > open) return false;
  count->bound = std::max(count->bound, open);
  count->depth = open - closed;
  const uint64_t tags = marks.lt | marks.gt;
  if (tags != 0) count->inTag = ((marks.lt >> HighestBit(tags)) & 1) != 0;
  return true;
}

// Counts whole blocks from text on while they can be; returns the bytes taken.
// length - taken stays above a block, so that the byte after each is there.
template <BlockMarks (*Mark)(const char*)>
inline __attribute__((always_inline)) size_t CountBlocksWith(const char* text, size_t length,
                                                             BlockCount* count) {
  size_t taken = 0;
  while (length - taken > kBlock && CountBlock<Mark>(text + taken, count)) taken += kBlock;
  return taken;
}

#if defined(__x86_64__) && defined(__GNUC__)
__attribute__((target("avx2,popcnt"))) size_t CountBlocksAvx2(const char* text, size_t length,
                                                              BlockCount* count) {
  return CountBlocksWith<MarkBlockAvx2>(text, length, count);
}
#endif

size_t CountBlocks(const char* text, size_t length, BlockCount* count) {
#if defined(__x86_64__) && defined(__GNUC__)
  if (WideBlocks()) return CountBlocksAvx2(text, length, count);
#endif
  return CountBlocksWith<MarkBlock>(text, length, count);
}

// Whether bytes at at begin with literal: 1 yes, 0 no, -1 not known from the
// bytes there are.
int Begins(std::string_view bytes, size_t at, std::string_view literal) {
  const size_t have = std::min(bytes.size() - at, literal.size());
  if (bytes.compare(at, have, literal, 0, have) != 0) return 0;
  return have == literal.size() ? 1 : -1;
}

}  // namespace

void NestingScan::Feed(std::string_view bytes, bool last) {
  bool more = true;
  while (more && !unknown_ && at_ < bytes.size()) {
    if ((state_ == State::kText || state_ == State::kTag) && bytes.size() - at_ > kBlock) {
      BlockCount count{depth_, bound_, state_ == State::kTag};
      const size_t taken = CountBlocks(bytes.data() + at_, bytes.size() - at_, &count);
      depth_ = count.depth;
      bound_ = count.bound;
      state_ = count.inTag ? State::kTag : State::kText;
      at_ += taken;
      if (bytes.size() - at_ <= kBlock) continue;
      // A block that needs a closer look is read byte by byte.
      const size_t end = at_ + kBlock;
      while (more && !unknown_ && at_ < end) more = Step(bytes, last);
      continue;
    }
    more = Step(bytes, last);
  }
  // The whole file must have been read, and every markup closed again.
  if (last && (at_ < bytes.size() || state_ != State::kText || depth_ != 0)) unknown_ = true;
}

bool NestingScan::Step(std::string_view bytes, bool last) {
  switch (state_) {
    case State::kText: {
      const size_t lt = bytes.find('<', at_);
      if (lt == std::string_view::npos) {
        at_ = bytes.size();
        return true;
      }
      at_ = lt;
      return MarkupStart(bytes, last);
    }
    case State::kTag:
      return MarkupPart(bytes, last, '/');
    case State::kTagQuote: {
      const size_t quote = bytes.find(quote_, at_);
      if (quote == std::string_view::npos) {
        at_ = bytes.size();
        return true;
      }
      at_ = quote + 1;
      state_ = State::kTag;
      return true;
    }
    case State::kPiQuote:
      return QuotedInPi(bytes, last);
    case State::kComment:
      return SkipTo(bytes, last, "-->");
    case State::kCdata:
      return SkipTo(bytes, last, "]]>");
    case State::kPi:
      return MarkupPart(bytes, last, '?');
  }
  return true;
}

bool NestingScan::MarkupStart(std::string_view bytes, bool last) {
  if (at_ + 1 >= bytes.size()) return NeedMore(last);
  switch (bytes[at_ + 1]) {
    case '/':
      Close();
      state_ = State::kTag;
      at_ += 2;
      return true;
    case '?':
      state_ = State::kPi;
      at_ += 2;
      return true;
    case '!': {
      const int comment = Begins(bytes, at_, "<!--");
      const int cdata = Begins(bytes, at_, "<![CDATA[");
      if (comment == 1) {
        state_ = State::kComment;
        at_ += 4;
      } else if (cdata == 1) {
        state_ = State::kCdata;
        at_ += 9;
      } else if (comment == -1 || cdata == -1) {
        return NeedMore(last);
      } else {
        return Unknown();  // a document type declaration, or markup the parser refuses
      }
      return true;
    }
    default:
      Open();
      state_ = State::kTag;
      at_ += 1;
      return true;
  }
}

bool NestingScan::MarkupPart(std::string_view bytes, bool last, char closer) {
  const bool tag = closer == '/';
  for (; at_ < bytes.size(); ++at_) {
    const char c = bytes[at_];
    if (tag && c == '>') {
      state_ = State::kText;
      ++at_;
      return true;
    }
    if (IsQuote(c)) {
      quote_ = c;
      state_ = tag ? State::kTagQuote : State::kPiQuote;
      ++at_;
      return true;
    }
    if (c == closer) {
      if (at_ + 1 >= bytes.size()) return NeedMore(last);
      if (bytes[at_ + 1] == '>') {
        if (tag) Close();  // "/>" ends an element with its start tag
        state_ = State::kText;
        at_ += 2;
        return true;
      }
    }
  }
  return true;
}

bool NestingScan::QuotedInPi(std::string_view bytes, bool last) {
  // The declaration's values are quoted, other instructions' are not: where a
  // "?>" lies inside quotes, the parser may end the instruction at either.
  const size_t quote = bytes.find(quote_, at_);
  const size_t end = quote == std::string_view::npos ? bytes.size() : quote;
  if (bytes.substr(at_, end - at_).find("?>") != std::string_view::npos) return Unknown();
  if (quote == std::string_view::npos) {
    if (last) return NeedMore(last);
    at_ = std::max(at_, bytes.size() - 1);  // a '?' at the end may start "?>"
    return false;
  }
  at_ = quote + 1;
  state_ = State::kPi;
  return true;
}

bool NestingScan::SkipTo(std::string_view bytes, bool last, std::string_view end) {
  const size_t found = bytes.find(end, at_);
  if (found == std::string_view::npos) {
    if (last) return NeedMore(last);
    // The end may begin in the bytes already here.
    at_ = std::max(at_, bytes.size() - std::min(bytes.size(), end.size() - 1));
    return false;
  }
  at_ = found + end.size();
  state_ = State::kText;
  return true;
}

bool NestingScan::NeedMore(bool last) {
  // A file that ends inside markup does not parse.
  return last ? Unknown() : false;
}

bool NestingScan::Unknown() {
  unknown_ = true;
  return true;
}

void NestingScan::Open() {
  ++depth_;
  bound_ = std::max(bound_, depth_);
}

void NestingScan::Close() {
  if (depth_ == 0) {
    Unknown();
  } else {
    --depth_;
  }
}

}  // namespace keytreestore
