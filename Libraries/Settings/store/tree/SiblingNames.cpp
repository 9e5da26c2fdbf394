// Naming same-named element children by their place among each other.
#include "tree/SiblingNames.h"

#include <cstring>

namespace keytreestore {

std::string SiblingNames::Next(pugi::xml_node child) {
  long index = 0;
  for (auto& name : seen_) {
    if (std::strcmp(name.first, child.name()) == 0) index = ++name.second;
  }
  if (index == 0) seen_.emplace_back(child.name(), 0);
  std::string name = child.name();
  if (index > 0) name += '[' + std::to_string(index) + ']';
  return name;
}

}  // namespace keytreestore
