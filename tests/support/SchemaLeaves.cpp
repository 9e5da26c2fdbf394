// Walks the library's key tables of a section or element.
#include "SchemaLeaves.h"

using namespace DicomAccessLibraryCpp;

namespace {

// owner points at the framework base the rows reach their members through.
void Collect(void* owner, const ValueField* values, int valueCount, const ListField* lists,
             int listCount, const std::wstring& prefix, std::vector<Leaf>& leaves) {
  for (int v = 0; v < valueCount; ++v) {
    leaves.push_back({prefix + values[v].key, values[v].kind, &values[v].proxy(owner)});
  }
  for (int l = 0; l < listCount; ++l) {
    const ElementSchema& element = lists[l].element();
    for (int i = 0; i < lists[l].capacity; ++i) {
      const std::wstring node = prefix + lists[l].key + L"[" + std::to_wstring(i) + L"]";
      Collect(&lists[l].at(owner, i), element.values, element.valueCount, element.lists,
              element.listCount, node, leaves);
    }
  }
}

std::string Narrow(const wchar_t* text) {
  return std::string(text, text + std::char_traits<wchar_t>::length(text));
}

void Describe(const ValueField* values, int valueCount, const ListField* lists, int listCount,
              const std::string& indent, std::string& text) {
  for (int v = 0; v < valueCount; ++v) {
    text += indent + Narrow(values[v].key) + " " + ValueKindName(values[v].kind) + "\n";
  }
  for (int l = 0; l < listCount; ++l) {
    const ElementSchema& element = lists[l].element();
    text += indent + Narrow(lists[l].key) + "[" + std::to_string(lists[l].capacity) + "] " +
            element.className + "\n";
    Describe(element.values, element.valueCount, element.lists, element.listCount, indent + "  ",
             text);
  }
}

}  // namespace

std::vector<Leaf> SectionLeaves(AccessLibraryBaseCpp::CAccessLibraryBaseCpp& section,
                                const SectionSchema& schema) {
  std::vector<Leaf> leaves;
  Collect(&section, schema.values, schema.valueCount, schema.lists, schema.listCount, L"", leaves);
  return leaves;
}

std::vector<Leaf> ElementLeaves(ElementCore& element, const ElementSchema& schema,
                                const std::wstring& nodeKey) {
  std::vector<Leaf> leaves;
  Collect(&element, schema.values, schema.valueCount, schema.lists, schema.listCount, nodeKey,
          leaves);
  return leaves;
}

void ReadEach(const std::vector<Leaf>& leaves) {
  for (const Leaf& leaf : leaves) {
    wchar_t buffer[512];
    leaf.proxy->ReadText(buffer);
  }
}

std::string DescribeSection(const SectionSchema& schema) {
  std::string text = std::string(schema.className) + " " + schema.area + "\n";
  Describe(schema.values, schema.valueCount, schema.lists, schema.listCount, "  ", text);
  return text;
}
