// Reading a saved settings file's leaves with pugixml.
#include "SavedFile.h"

#include <gtest/gtest.h>

#include <pugixml.hpp>
#include <stdexcept>

namespace {

void Collect(const pugi::xml_node& node, const std::wstring& key, KeyTexts& leaves) {
  std::map<std::string, int> seen;
  bool leaf = true;
  for (const pugi::xml_node& child : node.children()) {
    if (child.type() != pugi::node_element) continue;
    leaf = false;
    const int index = seen[child.name()]++;
    Collect(child, key + L"/" + pugi::as_wide(child.name()) + L"[" + std::to_wstring(index) + L"]",
            leaves);
  }
  if (leaf && !key.empty() && !node.text().empty()) leaves[key] = pugi::as_wide(node.text().get());
}

}  // namespace

std::wstring CanonicalKey(const std::wstring& key) {
  std::wstring canonical;
  size_t start = 1;
  while (start <= key.size()) {
    size_t end = key.find(L'/', start);
    if (end == std::wstring::npos) end = key.size();
    const std::wstring part = key.substr(start, end - start);
    canonical += L"/" + part + (part.find(L'[') == std::wstring::npos ? L"[0]" : L"");
    start = end + 1;
  }
  return canonical;
}

KeyTexts ReadSavedLeaves(const std::string& file) {
  pugi::xml_document document;
  const pugi::xml_parse_result parsed = document.load_file(file.c_str());
  if (!parsed) throw std::runtime_error(file + ": " + parsed.description());
  KeyTexts leaves;
  Collect(document.document_element(), L"", leaves);
  return leaves;
}

void ExpectSavedLeaves(const std::string& file, const KeyTexts& expected) {
  EXPECT_EQ(ReadSavedLeaves(file), expected) << "leaves of " << file;
}
