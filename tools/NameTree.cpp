// Builds the name tree by splitting every value key and list key of every table.
#include "NameTree.h"

namespace dicomsettings_tool {
namespace {

NameNode& Descend(NameNode& from, const wchar_t* key) {
  NameNode* node = &from;
  for (const std::string& name : KeyNames(key)) node = &node->children[name];
  return *node;
}

void AddLevel(NameNode& node, const ValueField* values, int valueCount, const ListField* lists,
              int listCount) {
  for (int v = 0; v < valueCount; ++v) Descend(node, values[v].key).value = &values[v];
  for (int l = 0; l < listCount; ++l) {
    NameNode& entry = Descend(node, lists[l].key);
    entry.list = &lists[l];
    const ElementSchema& element = lists[l].element();
    AddLevel(entry, element.values, element.valueCount, element.lists, element.listCount);
  }
}

}  // namespace

std::vector<std::string> NameNode::ChildNames() const {
  std::vector<std::string> names;
  for (const auto& child : children) names.push_back(child.first);
  return names;
}

NameNode BuildNameTree() {
  NameNode root;
  for (const SectionSchema* area : AllAreas()) {
    AddLevel(root, area->values, area->valueCount, area->lists, area->listCount);
  }
  return root;
}

}  // namespace dicomsettings_tool
