// Index of element children by parent and name.
#include "ChildIndex.h"

#include <functional>

namespace keytreestore {

size_t ChildIndex::SlotHash::operator()(const Slot& slot) const noexcept {
  const size_t parent = reinterpret_cast<size_t>(slot.parent);
  return std::hash<std::string_view>()(slot.name) ^ (parent * 0x9E3779B97F4A7C15ull);
}

void ChildIndex::Siblings::Add(pugi::xml_node_struct* node) {
  if (first == nullptr) {
    first = node;
  } else {
    more.push_back(node);
  }
}

pugi::xml_node ChildIndex::Child(pugi::xml_node parent, std::string_view name, int index,
                                 int* count) {
  auto found = slots_.find(Slot{parent.internal_object(), name});
  if (found == slots_.end() && slots_.count(Slot{parent.internal_object(), {}}) == 0) {
    Index(parent);
    found = slots_.find(Slot{parent.internal_object(), name});
  }
  if (found == slots_.end()) {
    *count = 0;
    return pugi::xml_node();
  }
  const Siblings& siblings = found->second;
  const size_t size = siblings.size();
  *count = static_cast<int>(size);
  if (index < 0 || static_cast<size_t>(index) >= size) return pugi::xml_node();
  return pugi::xml_node(index == 0 ? siblings.first : siblings.more[index - 1]);
}

void ChildIndex::Appended(pugi::xml_node parent, pugi::xml_node child) noexcept {
  if (!IsChildElement(child) || slots_.count(Slot{parent.internal_object(), {}}) == 0) return;
  try {
    slots_[Slot{parent.internal_object(), child.name()}].Add(child.internal_object());
    ++elements_;
  } catch (...) {
    // An index that misses a child would give wrong answers; none is always right.
    Clear();
  }
}

void ChildIndex::Index(pugi::xml_node parent) {
  try {
    // A list is a run of same-named children: the slot of the name before is
    // used again without a look-up.
    Siblings* run = nullptr;
    std::string_view runName;
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
      if (!IsChildElement(child)) continue;
      const std::string_view name = child.name();
      if (run == nullptr || name != runName) {
        run = &slots_[Slot{parent.internal_object(), name}];
        runName = name;
      }
      run->Add(child.internal_object());
      ++elements_;
    }
    slots_.emplace(Slot{parent.internal_object(), {}}, Siblings());
  } catch (...) {
    Clear();  // no half-built lists stay behind
    throw;
  }
}

}  // namespace keytreestore
