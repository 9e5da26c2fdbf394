// Index of element children by parent and name, in one table of open addressing.
#include "tree/ChildIndex.h"

#include <cstring>

#include "tree/ProbeTable.h"

namespace keytreestore {
namespace {
constexpr size_t kFirstSlots = 64;
}  // namespace

size_t ChildIndex::Hash(const pugi::xml_node_struct* parent, std::string_view name) noexcept {
  uint64_t hash = reinterpret_cast<uintptr_t>(parent) * 0x9E3779B97F4A7C15ull;
  for (const char c : name) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001B3ull;
  return static_cast<size_t>(hash ^ (hash >> 29));
}

void ChildIndex::Siblings::Add(pugi::xml_node_struct* node) {
  if (first == nullptr) {
    first = node;
  } else {
    more.push_back(node);
  }
}

const ChildIndex::Slot* ChildIndex::Find(const pugi::xml_node_struct* parent,
                                         std::string_view name) const noexcept {
  if (slots_.empty()) return nullptr;
  const size_t hash = Hash(parent, name);
  const size_t mask = slots_.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.parent == nullptr) return nullptr;
    if (slot.hash == hash && slot.parent == parent && slot.name == name) return &slot;
  }
}

ChildIndex::Siblings& ChildIndex::Insert(const pugi::xml_node_struct* parent,
                                         std::string_view name) {
  if ((used_ + 1) * 2 > slots_.size()) Grow();
  const size_t hash = Hash(parent, name);
  const size_t mask = slots_.size() - 1;
  size_t i = hash & mask;
  for (; slots_[i].parent != nullptr; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.hash == hash && slot.parent == parent && slot.name == name) return lists_[slot.list];
  }
  lists_.emplace_back();
  slots_[i] = Slot{parent, name, hash, static_cast<uint32_t>(lists_.size() - 1)};
  ++used_;
  return lists_.back();
}

void ChildIndex::Grow() {
  GrowProbeTable(&slots_, kFirstSlots, [](const Slot& slot) { return slot.parent != nullptr; });
}

void ChildIndex::Clear() noexcept {
  slots_.clear();
  lists_.clear();
  used_ = 0;
  elements_ = 0;
}

pugi::xml_node ChildIndex::Child(pugi::xml_node parent, std::string_view name, int index,
                                 int* count) {
  const pugi::xml_node_struct* owner = parent.internal_object();
  const Slot* found = Find(owner, name);
  if (found == nullptr && Find(owner, {}) == nullptr) {
    Index(parent);
    found = Find(owner, name);
  }
  if (found == nullptr) {
    *count = 0;
    return pugi::xml_node();
  }
  const Siblings& siblings = lists_[found->list];
  const size_t size = siblings.size();
  *count = static_cast<int>(size);
  if (index < 0 || static_cast<size_t>(index) >= size) return pugi::xml_node();
  return pugi::xml_node(index == 0 ? siblings.first : siblings.more[index - 1]);
}

void ChildIndex::Appended(pugi::xml_node parent, pugi::xml_node child) noexcept {
  if (!IsChildElement(child) || Find(parent.internal_object(), {}) == nullptr) return;
  try {
    Insert(parent.internal_object(), child.name()).Add(child.internal_object());
    ++elements_;
  } catch (...) {
    // An index that misses a child would give wrong answers; none is always right.
    Clear();
  }
}

void ChildIndex::Index(pugi::xml_node parent) {
  try {
    // A list is a run of same-named children: the siblings of the name before
    // take the next one without a look-up.
    Siblings* run = nullptr;
    const char* runName = nullptr;
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
      if (!IsChildElement(child)) continue;
      const char* name = child.name();
      if (run == nullptr || std::strcmp(name, runName) != 0) {
        run = &Insert(parent.internal_object(), name);
        runName = name;
      }
      run->Add(child.internal_object());
      ++elements_;
    }
    Insert(parent.internal_object(), {});
  } catch (...) {
    Clear();  // no half-built lists stay behind
    throw;
  }
}

}  // namespace keytreestore
