// Character references and line ends in the text of settings files.
#include "DocumentText.h"

#include <cctype>
#include <cstring>

namespace keytreestore {
namespace {

bool IsXmlChar(unsigned long c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

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
  node.set_value(text.c_str());
}

}  // namespace

size_t FindUnholdableCharacter(const std::string& bytes) {
  size_t first = bytes.size();
  for (size_t i = 0; i < bytes.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    const bool control = c < 0x20 && c != '\t' && c != '\n' && c != '\r';
    // U+FFFE and U+FFFF: EF BF BE and EF BF BF.
    const bool nonCharacter = c == 0xEF && i + 2 < bytes.size() &&
                              static_cast<unsigned char>(bytes[i + 1]) == 0xBF &&
                              static_cast<unsigned char>(bytes[i + 2]) >= 0xBE;
    if (control || nonCharacter) {
      first = i;
      break;
    }
  }
  for (size_t at = bytes.find("&#"); at < first; at = bytes.find("&#", at + 2)) {
    size_t i = at + 2;
    const bool hex = i < bytes.size() && bytes[i] == 'x';
    if (hex) ++i;
    unsigned long value = 0;
    size_t digits = 0;
    for (int d; i < bytes.size() && (d = DigitValue(bytes[i], hex)) >= 0; ++i, ++digits) {
      value = value * (hex ? 16 : 10) + static_cast<unsigned long>(d);
      if (value > 0x10FFFF) value = 0x110000;  // no wrap-around into a valid code point
    }
    const bool reference = digits != 0 && i < bytes.size() && bytes[i] == ';';
    if (reference && !IsXmlChar(value)) return at;
  }
  return first;
}

pugi::xml_node NormalizeTree(pugi::xml_node root, size_t depthLimit) {
  // Iterative walk: a hostile file may nest far deeper than the stack allows.
  pugi::xml_node node = root;
  size_t depth = 0;
  while (node) {
    if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) NormalizeText(node);
    if (node.first_child()) {
      node = node.first_child();
      if (++depth > depthLimit) return node;
      continue;
    }
    while (node && node != root && !node.next_sibling()) {
      node = node.parent();
      --depth;
    }
    if (!node || node == root) break;
    node = node.next_sibling();
  }
  return pugi::xml_node();
}

}  // namespace keytreestore
