// The values that differ between two versions of a settings tree, for a change
// record. A value is the text of an element with no element below it (an empty
// element is a value ""); its key names each step's place among same-named
// siblings as "[i]" from the second on, so that "/L/E/X" is the first entry's.
#ifndef DICOMSETTINGS_STORE_HISTORY_TREEDIFF_H
#define DICOMSETTINGS_STORE_HISTORY_TREEDIFF_H

#include <pugixml.hpp>
#include <string>
#include <vector>

#include "history/ChangeRecord.h"

namespace keytreestore {

// Appends to *changes the values that differ between the elements old and now
// (either may be null: everything below the other is created or removed), both
// named by key: first those of now's side in its order, then those only old holds.
void DiffElements(const std::string& key, pugi::xml_node old, pugi::xml_node now,
                  std::vector<ValueChange>* changes);

// The same for the elements below two document elements, paired by name and place.
void DiffTrees(pugi::xml_node oldRoot, pugi::xml_node nowRoot, std::vector<ValueChange>* changes);

// The same for the areas (elements below oldRoot and nowRoot) of the names given
// only, paired by place among those of their name.
void DiffAreas(const std::vector<std::string>& names, pugi::xml_node oldRoot,
               pugi::xml_node nowRoot, std::vector<ValueChange>* changes);

}  // namespace keytreestore

#endif
