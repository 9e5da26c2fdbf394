// What a key typed on the command line names in the library's tables, and how
// to reach it in a section object: a value's proxy, or a list's counter.
#ifndef DICOMSETTINGS_TOOLS_KEYTARGET_H
#define DICOMSETTINGS_TOOLS_KEYTARGET_H

#include <string>
#include <vector>

#include "ObjectLevel.h"

namespace dicomsettings_tool {

// One list entry on the way to a key: entry `index` of `list`.
struct ListStep {
  const ListField* list;
  int index;
};

struct KeyTarget {
  const SectionSchema* area = nullptr;
  std::vector<ListStep> steps;        // the entries walked, outermost first
  const ValueField* value = nullptr;  // the value the key names, or null
  const ListField* list = nullptr;    // the list the key names, or null
};

// Finds what key names. A list entry is written "<list key>[i]"; an entry
// beyond what the section reaches is refused. False with *why saying what is
// wrong (with the nearest known key as a hint).
bool ResolveKey(const std::wstring& key, KeyTarget* target, std::string* why);

// The proxy of a value target; area is the top level of target.area's object.
AccessLibraryBaseCpp::ProxyCore& ReachValue(const ObjectLevel& area, const KeyTarget& target);

// The library's count of a list target, clamped to the list's capacity.
int CountList(const ObjectLevel& area, const KeyTarget& target);

}  // namespace dicomsettings_tool

#endif
