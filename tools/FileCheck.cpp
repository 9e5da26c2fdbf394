// Walks the file's elements with pugixml, which gives each element's offset in
// the text (xml_node::offset_debug), against the name tree of the library's
// key tables. The settings store parses the same way; it is used directly here
// only because the store's keys carry no positions.
#include "FileCheck.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <pugixml.hpp>

#include "KeyTreeStore.h"
#include "NameTree.h"
#include "Nearest.h"
#include "ValueKinds.h"
#include "WideText.h"

namespace dicomsettings_tool {
namespace {

// Options that keep text as the store reads it: a value of blanks only stays.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_ws_pcdata_single;

class Walk {
 public:
  explicit Walk(const std::string& bytes) : bytes_(bytes), names_(BuildNameTree()) {
    for (size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] == '\n') lineStarts_.push_back(i + 1);
    }
  }

  std::vector<Finding> Run() {
    pugi::xml_document document;
    const pugi::xml_parse_result parsed =
        document.load_buffer(bytes_.data(), bytes_.size(), kParseOptions, pugi::encoding_utf8);
    if (!parsed) {
      Report(static_cast<size_t>(parsed.offset), parsed.description());
    } else {
      Children(document.document_element(), names_, "");
    }
    return std::move(findings_);
  }

 private:
  void Report(size_t offset, const std::string& text) {
    offset = std::min(offset, bytes_.size());
    const auto next = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset);
    const size_t start = *(next - 1);
    int column = 1;
    for (size_t i = start; i < offset; ++i) {
      if ((static_cast<unsigned char>(bytes_[i]) & 0xC0) != 0x80) ++column;
    }
    findings_.push_back(Finding{static_cast<int>(next - lineStarts_.begin()), column, text});
  }

  // At the "<" of an element's start tag (offset_debug gives its name's offset).
  void Report(pugi::xml_node node, const std::string& text) {
    Report(static_cast<size_t>(std::max<ptrdiff_t>(node.offset_debug() - 1, 0)), text);
  }

  void Children(pugi::xml_node parent, const NameNode& names, const std::string& key) {
    std::map<std::string, int> seen;
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
      if (child.type() != pugi::node_element) continue;
      const std::string name = child.name();
      const int index = seen[name]++;
      const auto known = names.children.find(name);
      if (known == names.children.end()) {
        Report(child,
               key + "/" + name + ": unknown element" + DidYouMean(name, names.ChildNames()));
        continue;
      }
      const NameNode& node = known->second;
      std::string childKey = key + "/" + name;
      if (node.list != nullptr) {
        childKey += "[" + std::to_string(index) + "]";
        if (index >= node.list->capacity) {
          Report(child, childKey + ": entry beyond the " + std::to_string(node.list->capacity) +
                            " the library reads of this list");
          continue;
        }
        if (!HoldsValue(child)) {
          Report(child, childKey + ": entry holds no value (the library counts it all the same)");
        }
      } else if (index > 0) {
        Report(child, childKey + ": repeated element; only the first one is read");
        continue;
      }
      if (node.value != nullptr) Value(child, node, childKey);
      Children(child, node, childKey);
    }
  }

  // Whether element or an element below it holds a text other than blanks.
  static bool HoldsValue(pugi::xml_node element) {
    const char* text = element.text().get();
    if (text[std::strspn(text, " \t\r\n")] != '\0') return true;
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
      if (child.type() == pugi::node_element && HoldsValue(child)) return true;
    }
    return false;
  }

  void Value(pugi::xml_node element, const NameNode& node, const std::string& key) {
    std::wstring text;
    if (!ToWide(element.text().get(), &text)) return;  // the store has refused such a file
    std::string why;
    if (text.size() > STORE_MAX_VALUE_LENGTH) {
      Report(element, key + ": value of " + std::to_string(text.size()) +
                          " characters; the library reads at most " +
                          std::to_string(STORE_MAX_VALUE_LENGTH));
    } else if (!IsValueText(node.value->kind, text, &why)) {
      Report(element, key + ": " + why);
    }
  }

  const std::string& bytes_;
  NameNode names_;
  std::vector<size_t> lineStarts_{0};
  std::vector<Finding> findings_;
};

}  // namespace

std::vector<Finding> CheckSettingsText(const std::string& bytes) {
  return Walk(bytes).Run();
}

}  // namespace dicomsettings_tool
