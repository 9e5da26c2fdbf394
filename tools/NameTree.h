// The element names a settings file may hold, as a tree built from the
// library's key tables: which names may appear under which, which are values
// (and of what kind), and which are list entries (and how many the library reads).
#ifndef DICOMSETTINGS_TOOLS_NAMETREE_H
#define DICOMSETTINGS_TOOLS_NAMETREE_H

#include <map>
#include <string>
#include <vector>

#include "Vocabulary.h"

namespace dicomsettings_tool {

struct NameNode {
  std::map<std::string, NameNode> children;  // by element name (UTF-8)
  const ValueField* value = nullptr;         // set when the element holds a value
  const ListField* list = nullptr;           // set when the element is a list entry

  std::vector<std::string> ChildNames() const;
};

// The names under a file's document element.
NameNode BuildNameTree();

}  // namespace dicomsettings_tool

#endif
