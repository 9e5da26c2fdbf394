// The record of the values this process set since it last loaded or saved a
// settings tree, and their replay on top of another writer's version: the merge
// rule every backing follows (the later save wins for a key both set).
#ifndef DICOMSETTINGS_STORE_CHANGELOG_H
#define DICOMSETTINGS_STORE_CHANGELOG_H

#include <cstddef>
#include <string>
#include <unordered_map>
#include <utility>

#include "KeyPath.h"
#include "SettingsDocument.h"

namespace keytreestore {

// By the node of the tree the value was set on: the key text it was set under,
// and the value in UTF-8. A record names a node of one tree only, so the log is
// cleared whenever that tree is replaced (a load, or a save that merged).
using ChangeLog =
    std::unordered_map<const pugi::xml_node_struct*, std::pair<std::wstring, std::string>>;

// Records a value set on node under the key text; a node set again, under any
// spelling of its key, reuses its record.
void RecordChange(ChangeLog& changes, pugi::xml_node node, const wchar_t* text, const char* value,
                  size_t size);

// Sets every recorded value in document, creating elements along the keys:
// STORE_OK or STORE_E_NO_MEMORY.
int ReplayChanges(const ChangeLog& changes, SettingsDocument& document);

}  // namespace keytreestore

#endif
