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

// By canonical key ("/A[0]/B[2]"): the key text as set, and the value in UTF-8.
using ChangeLog = std::unordered_map<std::string, std::pair<std::wstring, std::string>>;

// Records a value set; a key set again reuses its record.
void RecordChange(ChangeLog& changes, const ParsedKey& key, const wchar_t* text, const char* value,
                  size_t size);

// Sets every recorded value in document, creating elements along the keys:
// STORE_OK or STORE_E_NO_MEMORY.
int ReplayChanges(const ChangeLog& changes, SettingsDocument& document);

}  // namespace keytreestore

#endif
