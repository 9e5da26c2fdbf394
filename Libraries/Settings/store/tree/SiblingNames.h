// Names for the element children of one parent, as keys and kept lines write
// them: "Name" for the first of a name, "Name[i]" for the i-th after it.
#ifndef DICOMSETTINGS_STORE_TREE_SIBLINGNAMES_H
#define DICOMSETTINGS_STORE_TREE_SIBLINGNAMES_H

#include <pugixml.hpp>
#include <string>
#include <utility>
#include <vector>

namespace keytreestore {

class SiblingNames {
 public:
  // The name of child, the next element child of the parent named so far.
  std::string Next(pugi::xml_node child);

 private:
  std::vector<std::pair<const char*, long>> seen_;  // names and how many so far
};

}  // namespace keytreestore

#endif
