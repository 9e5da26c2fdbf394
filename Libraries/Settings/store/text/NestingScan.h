// An upper bound on how deeply a settings file's elements nest, taken from its
// bytes as they are read, so that opening a file need not visit every node of
// its tree to find out whether one lies too deep.
//
// The bytes are read as the parser reads markup: start and end tags, quoted
// attribute values, comments, CDATA sections and processing instructions. Where
// a reading could differ from the parser's (a document type declaration, a
// processing instruction whose end quoting would move, markup left open at the
// end of the file, an end tag with no element open), the bound is unknown and the
// caller must look at the tree itself. The bound holds only for a file that the
// parser then accepts.
//
// Thread safety: none; a scan belongs to one read of one file.
#ifndef DICOMSETTINGS_STORE_TEXT_NESTINGSCAN_H
#define DICOMSETTINGS_STORE_TEXT_NESTINGSCAN_H

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace keytreestore {

class NestingScan {
 public:
  static constexpr size_t kUnknown = SIZE_MAX;

  // Scans on from where the last call stopped. bytes are all of the file's bytes
  // so far (each call's extend the last's), and last is set once they are the
  // whole file.
  void Feed(std::string_view bytes, bool last);

  // At least the greatest number of elements open at once in the bytes scanned
  // (the document element counts as one), or kUnknown. Blocks of bytes taken at
  // once count the start tags in them as open together, so the bound may exceed
  // the nesting by the start tags of one block.
  size_t bound() const { return unknown_ ? kUnknown : bound_; }

 private:
  enum class State { kText, kTag, kTagQuote, kComment, kCdata, kPi, kPiQuote };

  // Each takes the bytes at at_ one step on and returns true, or returns false
  // when it needs bytes beyond those given (the bound is unknown if last).
  bool Step(std::string_view bytes, bool last);
  bool MarkupStart(std::string_view bytes, bool last);
  // Inside a tag (closer '/') or a processing instruction (closer '?'): on to
  // its end ("/>" closes the element in a tag) or to a quote.
  bool MarkupPart(std::string_view bytes, bool last, char closer);
  bool QuotedInPi(std::string_view bytes, bool last);
  bool SkipTo(std::string_view bytes, bool last, std::string_view end);
  bool NeedMore(bool last);
  // Gives the bound up; returns true, as a step that is done.
  bool Unknown();

  void Open();
  void Close();

  State state_ = State::kText;
  char quote_ = '\0';
  size_t at_ = 0;
  size_t depth_ = 0;
  size_t bound_ = 0;
  bool unknown_ = false;
};

}  // namespace keytreestore

#endif
