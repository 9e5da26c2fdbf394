// The children of a settings tree's elements by name, so that the i-th child of a
// given name is found, and same-named children are counted, without walking
// siblings. An element's children are indexed the first time they are asked for;
// the tree's owner reports every child it appends and drops the whole index when
// it replaces the tree.
//
// Thread safety: none of its own; the tree's owner serialises every call.
#ifndef DICOMSETTINGS_STORE_TREE_CHILDINDEX_H
#define DICOMSETTINGS_STORE_TREE_CHILDINDEX_H

#include <cstddef>
#include <cstdint>
#include <pugixml.hpp>
#include <string_view>
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
  void Clear() noexcept;
  void Swap(ChildIndex& other) noexcept {
    slots_.swap(other.slots_);
    lists_.swap(other.lists_);
    std::swap(used_, other.used_);
    std::swap(elements_, other.elements_);
  }

 private:
  // Same-named children in document order; the first is held inline, as most
  // names occur once under their parent.
  struct Siblings {
    pugi::xml_node_struct* first = nullptr;
    std::vector<pugi::xml_node_struct*> more;
    size_t size() const noexcept { return first == nullptr ? 0 : 1 + more.size(); }
    void Add(pugi::xml_node_struct* node);
  };
  // A parent and one of its children's names, in a table of open addressing. The
  // name is viewed in the tree, where it lives as long as the child; a slot with
  // no name marks an indexed parent, and one with no parent is empty.
  struct Slot {
    const pugi::xml_node_struct* parent = nullptr;
    std::string_view name;
    size_t hash = 0;
    uint32_t list = 0;  // into lists_
  };

  static size_t Hash(const pugi::xml_node_struct* parent, std::string_view name) noexcept;
  // The slot of parent and name, or null.
  const Slot* Find(const pugi::xml_node_struct* parent, std::string_view name) const noexcept;
  // The same-named children of parent and name, added empty when new.
  Siblings& Insert(const pugi::xml_node_struct* parent, std::string_view name);
  void Grow();
  void Index(pugi::xml_node parent);
  static bool IsChildElement(pugi::xml_node node) { return node.type() == pugi::node_element; }

  std::vector<Slot> slots_;  // size a power of two, at most half used
  std::vector<Siblings> lists_;
  size_t used_ = 0;
  size_t elements_ = 0;
};

}  // namespace keytreestore

#endif
