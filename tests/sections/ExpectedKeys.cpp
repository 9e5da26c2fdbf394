// Walks an object through its expected table, giving every value it addresses.
#include "ExpectedKeys.h"

#include <algorithm>

namespace expected {

std::vector<Leaf> Leaves(void* owner, const Table& table, const std::wstring& prefix) {
  std::vector<Leaf> leaves;
  for (const ValueRow& row : table.values) {
    leaves.push_back({prefix + row.key, row.kind, row.memberKind, &row.proxy(owner)});
  }
  for (const ListRow& list : table.lists) {
    for (int i = 0; i < std::min(list.capacity, list.memberLength); ++i) {
      const std::wstring node = prefix + list.key + L"[" + std::to_wstring(i) + L"]";
      const std::vector<Leaf> nested = Leaves(&list.at(owner, i), *list.element, node);
      leaves.insert(leaves.end(), nested.begin(), nested.end());
    }
  }
  return leaves;
}

}  // namespace expected
