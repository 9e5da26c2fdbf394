// The children of a settings tree's elements by name, so that the i-th child of a
// given name is found, and same-named children are counted, without walking
// siblings. An element's children are indexed the first time they are asked for;
// the tree's owner reports every child it appends and drops the whole index when
// it replaces the tree.
#ifndef DICOMSETTINGS_STORE_CHILDINDEX_H
#define DICOMSETTINGS_STORE_CHILDINDEX_H

#include <cstddef>
#include <pugixml.hpp>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace keytreestore {

class ChildIndex {
 public:
  // The index-th child element of parent named name (null when there is none);
  // *count receives the number of parent's children of that name. Throws
  // std::bad_alloc, with the index dropped, when memory runs out.
  pugi::xml_node Child(pugi::xml_node parent, std::string_view name, int index, int* count);
  // Keeps the index right after child was appended as parent's last child (when
  // memory runs out, by dropping the index).
  void Appended(pugi::xml_node parent, pugi::xml_node child) noexcept;
  // Number of elements indexed so far.
  size_t Elements() const noexcept { return elements_; }
  // Forgets everything (the tree was replaced).
  void Clear() noexcept {
    slots_.clear();
    elements_ = 0;
  }
  void Swap(ChildIndex& other) noexcept {
    slots_.swap(other.slots_);
    std::swap(elements_, other.elements_);
  }

 private:
  // A parent and one of its children's names. The name is viewed in the tree,
  // where it lives as long as the child; an empty name marks an indexed parent.
  struct Slot {
    const pugi::xml_node_struct* parent;
    std::string_view name;
    bool operator==(const Slot& other) const noexcept {
      return parent == other.parent && name == other.name;
    }
  };
  struct SlotHash {
    size_t operator()(const Slot& slot) const noexcept;
  };
  // Same-named children in document order; the first is held inline, as most
  // names occur once under their parent.
  struct Siblings {
    pugi::xml_node_struct* first = nullptr;
    std::vector<pugi::xml_node_struct*> more;
    size_t size() const noexcept { return first == nullptr ? 0 : 1 + more.size(); }
    void Add(pugi::xml_node_struct* node);
  };

  void Index(pugi::xml_node parent);
  static bool IsChildElement(pugi::xml_node node) { return node.type() == pugi::node_element; }

  std::unordered_map<Slot, Siblings, SlotHash> slots_;
  size_t elements_ = 0;
};

}  // namespace keytreestore

#endif
