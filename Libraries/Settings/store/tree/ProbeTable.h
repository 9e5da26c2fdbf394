// Growth of the store's hash tables of open addressing with linear probing: a
// table of Slots, each with its hash, whose size is a power of two.
//
// Thread safety: none; the table's owner serialises every call.
#ifndef DICOMSETTINGS_STORE_TREE_PROBETABLE_H
#define DICOMSETTINGS_STORE_TREE_PROBETABLE_H

#include <cstddef>
#include <vector>

namespace keytreestore {

// Moves the used slots of *slots (used(slot) tells them) into a table twice the
// size, or of first slots when it is empty. An unused slot is Slot{}. Throws
// std::bad_alloc, the table unchanged.
template <class Slot, class Used>
void GrowProbeTable(std::vector<Slot>* slots, size_t first, Used used) {
  std::vector<Slot> grown(slots->empty() ? first : slots->size() * 2, Slot{});
  const size_t mask = grown.size() - 1;
  for (const Slot& slot : *slots) {
    if (!used(slot)) continue;
    size_t i = slot.hash & mask;
    while (used(grown[i])) i = (i + 1) & mask;
    grown[i] = slot;
  }
  slots->swap(grown);
}

}  // namespace keytreestore

#endif
