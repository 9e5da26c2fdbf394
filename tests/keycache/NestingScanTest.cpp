// The nesting bound taken from a file's bytes decides whether an open looks for a
// too-deep node at all: it must never fall short of the tree the parser builds,
// wherever the bytes are cut between reads and wherever they fall in the blocks
// taken at once, and it must not run away from it (a block may count its start
// tags as open together, a run of them at most).
#include <gtest/gtest.h>

#include <string>

#include "BlockWidths.h"
#include "text/NestingScan.h"

namespace {

using keytreestore::NestingScan;

constexpr size_t kUnknown = NestingScan::kUnknown;
// Start tags one block of 64 bytes can hold beyond the first ("<a>" each).
constexpr size_t kSlack = 20;

class NestingScanBound : public BlockWidths {};
INSTANTIATE_TEST_SUITE_P(Blocks, NestingScanBound, testing::Bool());

size_t Bound(const std::string& text, size_t cut) {
  NestingScan scan;
  // A copy, as a read leaves the bytes after its part unwritten: a scan that
  // looked past the part would find a NUL there, not the file's next byte.
  scan.Feed(text.substr(0, cut), false);
  scan.Feed(text, true);
  return scan.bound();
}

TEST_P(NestingScanBound, BoundHoldsTheDeepestNestingWhereverTheBytesLie) {
  const struct {
    const char* text;
    size_t depth;
  } files[] = {
      {"<a><b/><c>x</c></a>", 2},
      {"<a><b><c/></b><b><c>t</c></b></a>", 3},
      {"<a>/><b>x/></b><c/>/></a>", 2},
      {"<a x=\"</a>\"><b y='/>'/><c z=\"'>\">/></c></a>", 2},
      {"<a x=\"/>\"><b y='/>' z=\"\"/><b y='/>'>t</b></a>", 2},
      {"<a><!-- <b><c> --><![CDATA[<d><e>]]><?p <f>?>/></a>", 1},
      {"<?xml version=\"1.0\" encoding='UTF-8'?><a>t<b>?>!</b></a><!--</a>-->", 2},
  };
  for (const auto& file : files) {
    // Forty copies in one element: a count that drifts shows over their length.
    std::string copies = "<r>";
    for (int i = 0; i < 40; ++i) copies += file.text;
    copies += "</r>";
    for (size_t offset = 0; offset < 70; ++offset) {
      const std::string text = std::string(offset, ' ') + copies + std::string(70, '\n');
      const size_t bound = Bound(text, text.size());
      EXPECT_GE(bound, file.depth + 1) << file.text << " at " << offset;
      EXPECT_LE(bound, file.depth + 1 + kSlack) << file.text << " at " << offset;
    }
    const std::string text = std::string(50, ' ') + file.text + std::string(70, '\n');
    for (size_t cut = 0; cut <= text.size(); ++cut) {
      EXPECT_GE(Bound(text, cut), file.depth) << file.text << " cut at " << cut;
      EXPECT_LE(Bound(text, cut), file.depth + kSlack) << file.text << " cut at " << cut;
    }
  }
}

TEST_P(NestingScanBound, MarkupThatCouldReadTwoWaysLeavesTheBoundUnknown) {
  for (const std::string file : {"<!DOCTYPE a><a/>", "<?xml version=\"?>\"?><a/>", "<a><b></b>",
                                 "<a><!-- x </a>", "</a><a/>"}) {
    const std::string text = std::string(50, ' ') + file + std::string(70, '\n');
    for (size_t cut = 0; cut <= text.size(); ++cut) {
      EXPECT_EQ(Bound(text, cut), kUnknown) << file << " cut at " << cut;
    }
  }
}

}  // namespace
