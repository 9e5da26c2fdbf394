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
  // Neither: the key names the entry steps.back() itself ("/EchoScu/Syntax[0]").
};

// Finds what key names. A list entry is written "<list key>[i]"; an entry
// beyond what the section reaches is refused, and so is a key that names an
// entry itself unless entries is set. False with *why saying what is wrong (with
// the nearest known key as a hint).
bool ResolveKey(const std::wstring& key, KeyTarget* target, std::string* why, bool entries = false);

// The level target's value or list is on: its innermost entry, or area itself.
ObjectLevel LevelOf(const ObjectLevel& area, const KeyTarget& target);

// Whether every entry target walks is there (below the library's count of its
// list); false with *why naming the count and the `add` command for file.
bool EntriesExist(const ObjectLevel& area, const KeyTarget& target, const std::string& file,
                  std::string* why);

// The store's key of what target names: a value's, an entry's node key, or a
// list's key ("/EchoScu/Syntax"); area is the top level of target.area's object.
std::wstring StoreKeyOf(const ObjectLevel& area, const KeyTarget& target);

// The proxy of a value target; area is the top level of target.area's object.
AccessLibraryBaseCpp::ProxyCore& ReachValue(const ObjectLevel& area, const KeyTarget& target);

// The library's count of a list target, clamped to the list's capacity.
int CountList(const ObjectLevel& area, const KeyTarget& target);

}  // namespace dicomsettings_tool

#endif
