// The record of the values this process set since it last loaded or saved a
// settings tree, and their replay on top of another writer's version: the merge
// rule every backing follows (the later save wins for a key both set).
#ifndef DICOMSETTINGS_STORE_TREE_PENDINGCHANGES_H
#define DICOMSETTINGS_STORE_TREE_PENDINGCHANGES_H

#include <cstddef>
#include <string>
#include <unordered_map>

#include "tree/ParsedKey.h"
#include "tree/SettingsDocument.h"

namespace keytreestore {

// One value set since the last load or save.
struct PendingChange {
  std::wstring key;       // the key text it was set under (the last of its spellings)
  std::string value;      // the value, UTF-8
  bool ifAbsent = false;  // copied in with a list, not set: replayed only where the key
                          // names nothing, so that it never undoes another writer's value
};

// The changes by the node of the tree they were set on. A record names a node of
// one tree only, so the record is cleared whenever that tree is replaced (a load,
// or a save that merged).
using PendingChanges = std::unordered_map<const pugi::xml_node_struct*, PendingChange>;

// Records a value set on node under the key text; a node set again, under any
// spelling of its key, reuses its record.
void RecordChange(PendingChanges& changes, pugi::xml_node node, const wchar_t* key,
                  const char* value, size_t size);
// Records the value of a node copied in with an inherited list (ifAbsent).
void RecordCopy(PendingChanges& changes, pugi::xml_node node, const wchar_t* key,
                const char* value, size_t size);

// Sets every recorded value in document, creating elements along the keys (a
// copied one only where its key names nothing there): STORE_OK or
// STORE_E_NO_MEMORY.
int ReplayChanges(const PendingChanges& changes, SettingsDocument& document);

}  // namespace keytreestore

#endif
