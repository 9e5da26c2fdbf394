// Character references, raw characters and line ends in the text of settings files.
#include "text/DocumentText.h"

#include <cstring>

#include "text/Utf8.h"
#include "text/XmlChar.h"

namespace keytreestore {
namespace {

int DigitValue(char c, bool hex) {
  if (c >= '0' && c <= '9') return c - '0';
  if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void NormalizeText(pugi::xml_node node) {
  const char* value = node.value();
  if (std::strchr(value, '\r') == nullptr) return;
  std::string text(value);
  for (char& c : text) {
    if (c == '\r') c = '\n';
  }
  // An element's own text (kept in the element by the parser) is set through it.
  if (node.type() == pugi::node_element) {
    node.text().set(text.c_str());
  } else {
    node.set_value(text.c_str());
  }
}

// pugixml's own walk, one call a node: cheaper than stepping through the tree
// from outside, and as free of recursion.
class Normalizer : public pugi::xml_tree_walker {
 public:
  Normalizer(size_t depthLimit, bool lineEnds) : depthLimit_(depthLimit), lineEnds_(lineEnds) {}
  bool for_each(pugi::xml_node& node) override {
    // depth() counts from 0 for root's children.
    if (static_cast<size_t>(depth()) >= depthLimit_) {
      deep_ = node;
      return false;
    }
    if (lineEnds_ && (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata ||
                      node.type() == pugi::node_element)) {
      NormalizeText(node);
    }
    return true;
  }
  pugi::xml_node Deep() const { return deep_; }

 private:
  size_t depthLimit_;
  bool lineEnds_;
  pugi::xml_node deep_;
};

}  // namespace

TextCheck CheckDocumentText(std::string_view bytes) {
  TextChecker checker;
  checker.Feed(bytes, true);
  return checker.result();
}

void TextChecker::Feed(std::string_view bytes, bool last) {
  if (check_.fault != nullptr) return;
  nesting_.Feed(bytes, last);
  check_.nesting = nesting_.bound();
  if (checked_ >= bytes.size()) return;
  size_t end = bytes.size();
  if (!last) {
    const void* lt = memrchr(bytes.data() + checked_, '<', bytes.size() - checked_);
    if (lt == nullptr) return;
    end = static_cast<size_t>(static_cast<const char*>(lt) - bytes.data());
  }
  // One pass over the bytes, stopping also at each "&", where a character
  // reference may begin.
  for (size_t at = checked_;; ++at) {
    bool invalid = false;
    at += FindUnholdableUtf8(bytes.data() + at, end - at, &invalid, '&');
    if (at == end) break;
    if (bytes[at] != '&') {
      check_.offset = at;
      check_.fault = invalid             ? "invalid UTF-8"
                     : bytes[at] == '\0' ? "NUL byte in file"
                                         : "a character XML cannot hold";
      return;
    }
    if (at + 1 >= end || bytes[at + 1] != '#') continue;
    size_t i = at + 2;
    const bool hex = i < end && bytes[i] == 'x';
    if (hex) ++i;
    unsigned long value = 0;
    size_t digits = 0;
    for (int d; i < end && (d = DigitValue(bytes[i], hex)) >= 0; ++i, ++digits) {
      value = value * (hex ? 16 : 10) + static_cast<unsigned long>(d);
      if (value > 0x10FFFF) value = 0x110000;  // no wrap-around into a valid code point
    }
    if (digits == 0 || i >= end || bytes[i] != ';') continue;
    if (!IsXmlChar(value)) {
      check_.offset = at;
      check_.fault = "a character XML cannot hold";
      return;
    }
    if (value == '\r') check_.carriageReturnReference = true;
  }
  checked_ = end;
  if (last) check_.offset = end;
}

pugi::xml_node NormalizeTree(pugi::xml_node root, size_t depthLimit, bool lineEnds) {
  Normalizer normalizer(depthLimit, lineEnds);
  root.traverse(normalizer);
  return normalizer.Deep();
}

}  // namespace keytreestore
