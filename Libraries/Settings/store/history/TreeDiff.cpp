// Comparing two versions of a tree, value by value.
#include "history/TreeDiff.h"

#include <cstring>
#include <unordered_map>
#include <utility>

#include "tree/SiblingNames.h"

namespace keytreestore {
namespace {

bool IsLeaf(pugi::xml_node node) {
  return !node.find_child([](pugi::xml_node child) { return child.type() == pugi::node_element; });
}

// The element children of node, each with its key step, in document order.
std::vector<std::pair<std::string, pugi::xml_node>> Children(pugi::xml_node node) {
  std::vector<std::pair<std::string, pugi::xml_node>> children;
  SiblingNames names;
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    if (child.type() == pugi::node_element) children.emplace_back("/" + names.Next(child), child);
  }
  return children;
}

// Whether two elements hold the same values under the same keys.
bool SameElement(pugi::xml_node a, pugi::xml_node b) {
  if (std::strcmp(a.name(), b.name()) != 0) return false;
  const bool leaf = IsLeaf(a);
  if (leaf != IsLeaf(b)) return false;
  if (leaf) return std::strcmp(a.child_value(), b.child_value()) == 0;
  pugi::xml_node x = a.first_child();
  pugi::xml_node y = b.first_child();
  while (true) {
    while (x && x.type() != pugi::node_element) x = x.next_sibling();
    while (y && y.type() != pugi::node_element) y = y.next_sibling();
    if (!x || !y) return !x && !y;
    if (!SameElement(x, y)) return false;
    x = x.next_sibling();
    y = y.next_sibling();
  }
}

// Every value below node (node's own when it is a leaf), old or new.
void AddAll(const std::string& key, pugi::xml_node node, bool isOld,
            std::vector<ValueChange>* changes) {
  if (IsLeaf(node)) {
    ValueChange change;
    change.key = key;
    (isOld ? change.old : change.now) = std::string(node.child_value());
    changes->push_back(std::move(change));
    return;
  }
  for (const auto& child : Children(node)) AddAll(key + child.first, child.second, isOld, changes);
}

// The differences below two elements paired by key (both present).
void DiffChildren(const std::string& key, pugi::xml_node old, pugi::xml_node now,
                  std::vector<ValueChange>* changes) {
  const auto oldChildren = Children(old);
  std::unordered_map<std::string, pugi::xml_node> byStep;
  for (const auto& child : oldChildren) byStep.emplace(child.first, child.second);
  for (const auto& child : Children(now)) {
    const auto found = byStep.find(child.first);
    DiffElements(key + child.first, found == byStep.end() ? pugi::xml_node() : found->second,
                 child.second, changes);
    if (found != byStep.end()) byStep.erase(found);
  }
  for (const auto& child : oldChildren) {
    if (byStep.count(child.first) != 0) AddAll(key + child.first, child.second, true, changes);
  }
}

}  // namespace

void DiffElements(const std::string& key, pugi::xml_node old, pugi::xml_node now,
                  std::vector<ValueChange>* changes) {
  if (!old || !now) {
    if (old || now) AddAll(key, old ? old : now, static_cast<bool>(old), changes);
    return;
  }
  if (SameElement(old, now)) return;
  const bool oldLeaf = IsLeaf(old);
  const bool nowLeaf = IsLeaf(now);
  if (oldLeaf && nowLeaf) {
    changes->push_back({key, std::string(old.child_value()), std::string(now.child_value())});
  } else if (oldLeaf || nowLeaf) {
    // A value that became a group of values, or the other way round.
    AddAll(key, now, false, changes);
    AddAll(key, old, true, changes);
  } else {
    DiffChildren(key, old, now, changes);
  }
}

void DiffAreas(const std::vector<std::string>& names, pugi::xml_node oldRoot,
               pugi::xml_node nowRoot, std::vector<ValueChange>* changes) {
  for (const std::string& name : names) {
    pugi::xml_node old = oldRoot.child(name.c_str());
    pugi::xml_node now = nowRoot.child(name.c_str());
    for (size_t index = 0; old || now; ++index) {
      const std::string key = "/" + name + (index > 0 ? "[" + std::to_string(index) + "]" : "");
      DiffElements(key, old, now, changes);
      old = old.next_sibling(name.c_str());
      now = now.next_sibling(name.c_str());
    }
  }
}

void DiffTrees(pugi::xml_node oldRoot, pugi::xml_node nowRoot, std::vector<ValueChange>* changes) {
  if (!oldRoot || !nowRoot) {
    for (const auto& child : Children(oldRoot ? oldRoot : nowRoot)) {
      DiffElements(child.first, oldRoot ? child.second : pugi::xml_node(),
                   nowRoot ? child.second : pugi::xml_node(), changes);
    }
    return;
  }
  DiffChildren(std::string(), oldRoot, nowRoot, changes);
}

}  // namespace keytreestore
