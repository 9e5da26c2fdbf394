// Resolving keys over stacked settings trees, and copying inherited lists into
// the nearest tree before it is written.
#include "tree/Overlay.h"

#include <cstring>
#include <string>

#include "KeyTreeStore.h"
#include "text/Utf8.h"
#include "tree/SiblingNames.h"

namespace keytreestore {
namespace {

// Records the value of every element without element children below node (node
// itself included), each under its key: key is node's, "/A[0]/B[2]".
void RecordValues(pugi::xml_node node, const std::string& key, PendingChanges& changes) {
  SiblingNames names;
  bool parent = false;
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    if (child.type() != pugi::node_element) continue;
    parent = true;
    RecordValues(child, key + '/' + names.Next(child), changes);
  }
  if (parent) return;
  std::wstring wide(key.size() + 1, L'\0');
  const long length = Utf8ToWide(key.data(), key.size(), &wide[0], wide.size());
  const char* value = node.text().get();
  if (length > 0) changes.Set(node, wide.c_str(), value, std::strlen(value), true);
}

}  // namespace

void Overlay::Walk(const ParsedKey& key, size_t steps, pugi::xml_node* at) const {
  for (size_t i = 0; i < count_; ++i) at[i] = trees_[i]->Root();
  for (size_t s = 0; s < steps; ++s) Descend(at, key[s], key[s].listed ? Nearest(at, key[s]) : 0);
}

void Overlay::Descend(pugi::xml_node* at, const KeyStep& step, size_t owner) const {
  int count;
  for (size_t i = 0; i < count_; ++i) {
    if (step.listed && i != owner) at[i] = pugi::xml_node();
    if (at[i]) at[i] = trees_[i]->Child(at[i], step, step.index, &count);
  }
}

size_t Overlay::Nearest(const pugi::xml_node* at, const KeyStep& step) const {
  int count = 0;
  for (size_t i = 0; i < count_; ++i) {
    if (at[i] && (trees_[i]->Child(at[i], step, 0, &count), count > 0)) return i;
  }
  return count_;
}

pugi::xml_node Overlay::Find(const ParsedKey& key, size_t* tree) const {
  pugi::xml_node at[kMaxStackedTrees];
  Walk(key, key.size(), at);
  for (size_t i = 0; i < count_; ++i) {
    if (!at[i]) continue;
    if (tree != nullptr) *tree = i;
    return at[i];
  }
  return pugi::xml_node();
}

int Overlay::Count(const ParsedKey& key) const {
  pugi::xml_node at[kMaxStackedTrees];
  Walk(key, key.size() - 1, at);
  const KeyStep& last = key[key.size() - 1];
  const size_t owner = Nearest(at, last);
  int count = 0;
  if (owner < count_) trees_[owner]->Child(at[owner], last, 0, &count);
  return count;
}

pugi::xml_node Overlay::FindOrCreate(const ParsedKey& key, const wchar_t* text,
                                     PendingChanges& changes, bool* refused) const {
  if (!TakeLists(key, changes, refused)) return pugi::xml_node();
  return trees_[0]->FindOrCreate(key, text, refused);
}

bool Overlay::TakeLists(const ParsedKey& key, PendingChanges& changes, bool* refused) const {
  pugi::xml_node at[kMaxStackedTrees];
  for (size_t i = 0; i < count_; ++i) at[i] = trees_[i]->Root();
  int count;
  for (size_t s = 0; s < key.size(); ++s) {
    const KeyStep& step = key[s];
    size_t owner = step.listed ? Nearest(at, step) : count_;
    if (owner > 0 && owner < count_) {
      // The list comes from a farther tree: the nearest takes a copy of it whole.
      const pugi::xml_node parent = trees_[0]->CreatePath(key, s, refused);
      if (!parent) return false;
      int entries = 0;
      trees_[owner]->Child(at[owner], step, 0, &entries);
      const std::string list = key.Canonical(s) + '/' + std::string(step.name, step.length);
      for (int j = 0; j < entries; ++j) {
        const pugi::xml_node entry =
            trees_[0]->AppendCopy(parent, trees_[owner]->Child(at[owner], step, j, &count));
        if (!entry) return false;
        RecordValues(entry, list + '[' + std::to_string(j) + ']', changes);
      }
      at[0] = parent;
      owner = 0;
    }
    Descend(at, step, owner);
  }
  return true;
}

}  // namespace keytreestore
