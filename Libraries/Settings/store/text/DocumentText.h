// Character-level rules for the text of a settings file beyond what the XML
// parser enforces, so that every file the store accepts saves into a file it
// accepts again, with the same values.
//
// Thread safety: the functions keep no state; a tree may be normalised by one
// thread at a time.
#ifndef DICOMSETTINGS_STORE_TEXT_DOCUMENTTEXT_H
#define DICOMSETTINGS_STORE_TEXT_DOCUMENTTEXT_H

#include <cstddef>
#include <pugixml.hpp>
#include <string_view>

#include "text/NestingScan.h"

namespace keytreestore {

// What the check of a file's characters found.
struct TextCheck {
  // Offset of the first fault, or bytes.size() when there is none.
  size_t offset;
  // What the fault is ("invalid UTF-8", ...), or null.
  const char* fault;
  // Whether the file refers to a carriage return ("&#13;", "&#xD;"): the parser
  // puts it into the text, where NormalizeTree must turn it into a line feed.
  bool carriageReturnReference;
  // At least the most elements open at once if the file parses (NestingScan's
  // bound, which may be NestingScan::kUnknown).
  size_t nesting;
};

// Checks a whole file in one pass over its bytes: well-formed UTF-8 without NUL
// bytes, and no character XML 1.0 cannot hold, raw (a control character, U+FFFE,
// U+FFFF) or as a character reference ("&#1;", "&#xD800;"). The parser would
// take the latter, and the save would write a file that no longer parses. Also
// bounds how deeply the file's elements nest.
TextCheck CheckDocumentText(std::string_view bytes);

// The same check made as a file's bytes arrive, each part while it is still in
// the processor's cache: Feed with all bytes so far after every read checks them
// up to their last "<" (no character or reference spans one), and with last set
// to the end. result() is what CheckDocumentText gives for the whole.
class TextChecker {
 public:
  void Feed(std::string_view bytes, bool last);
  const TextCheck& result() const { return check_; }

 private:
  size_t checked_ = 0;
  TextCheck check_{0, nullptr, false, 0};
  NestingScan nesting_;
};

// Returns the first node (in document order) nested depthLimit or more levels
// below root's children, or a null node; with lineEnds, also turns every carriage
// return in the text of elements (text nodes, and text the parser kept in the
// element itself) into a line feed, as XML does with the line ends of the file
// itself (a "&#13;" would otherwise be saved raw and read back as a line feed).
// Visits every node: a caller whose file's TextCheck holds neither a carriage
// return reference nor a nesting of depthLimit or more need not call it.
pugi::xml_node NormalizeTree(pugi::xml_node root, size_t depthLimit, bool lineEnds);

}  // namespace keytreestore

#endif
