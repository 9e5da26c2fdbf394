// The check of a loaded file's characters passes blocks of sixty-four or sixteen
// bytes at a time: the first character XML cannot hold raw, or the first bad
// UTF-8, must still be found exactly and told apart wherever it falls in a block.
#include <gtest/gtest.h>

#include <string>

#include "BlockWidths.h"
#include "text/DocumentText.h"
#include "text/Utf8.h"

namespace {

using namespace std::string_literals;

class XmlCharScan : public BlockWidths {};
INSTANTIATE_TEST_SUITE_P(Blocks, XmlCharScan, testing::Bool());

TEST_P(XmlCharScan, FirstRefusedCharacterIsFoundAtEveryOffset) {
  const struct {
    std::string bytes;
    bool invalid;
  } faults[] = {{"\0"s, false},        {"\x01", false},         {"\x1F", false},
                {"\x0B", false},       {"\xEF\xBF\xBE", false}, {"\xEF\xBF\xBF", false},
                {"\xFF", true},        {"\xE3\x81", true},      {"\xE0\x80\x80", true},
                {"\xED\xA0\x80", true}};
  const std::string allowed = "\t\n\r a\xE3\x81\x82\xEF\xBF\xBD";  // tab, line ends, U+3042, U+FFFD
  for (const auto& fault : faults) {
    for (size_t offset = 0; offset < 140; ++offset) {
      std::string text;
      while (text.size() < offset) text += allowed[text.size() % 5];  // ASCII and line ends only
      text += fault.bytes + std::string(20, 'b');
      bool invalid = !fault.invalid;
      EXPECT_EQ(keytreestore::FindUnholdableUtf8(text.data(), text.size(), &invalid), offset);
      EXPECT_EQ(invalid, fault.invalid) << offset;
    }
  }
  const std::string good = std::string(60, 'x') + "\t\n\r" + std::string(70, 'y') + allowed;
  bool invalid = false;
  EXPECT_EQ(keytreestore::FindUnholdableUtf8(good.data(), good.size(), &invalid), good.size());
}

TEST_P(XmlCharScan, CheckOfAFileAsItArrivesGivesWhatTheWholeGives) {
  // Faults and references on either side of wherever the bytes are cut.
  for (const std::string& text : {"<a>x&#x41;y</a><b>\xE3\x81\x82</b>"s, "<a>&#13;</a><b>&#1;</b>"s,
                                  "<a>&#6</a><b>\xE3</b>"s, "<a>&amp;</a><b>\x01</b>"s}) {
    const keytreestore::TextCheck whole = keytreestore::CheckDocumentText(text);
    for (size_t cut = 0; cut <= text.size(); ++cut) {
      keytreestore::TextChecker checker;
      checker.Feed(std::string_view(text).substr(0, cut), false);
      checker.Feed(text, true);
      const keytreestore::TextCheck& parts = checker.result();
      EXPECT_EQ(parts.offset, whole.offset) << text << " cut at " << cut;
      EXPECT_EQ(parts.fault == nullptr, whole.fault == nullptr) << text << " cut at " << cut;
      EXPECT_EQ(parts.carriageReturnReference, whole.carriageReturnReference) << text;
    }
  }
}

}  // namespace
