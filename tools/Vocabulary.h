// The settings areas and keys, as the library's own key tables give them: the
// tool keeps no second copy of the vocabulary.
#ifndef DICOMSETTINGS_TOOLS_VOCABULARY_H
#define DICOMSETTINGS_TOOLS_VOCABULARY_H

#include <string>
#include <vector>

#include "SettingsSchema.h"

namespace dicomsettings_tool {

using DicomAccessLibraryCpp::ElementSchema;
using DicomAccessLibraryCpp::ListField;
using DicomAccessLibraryCpp::SectionSchema;
using DicomAccessLibraryCpp::ValueField;

// Every section's table, in the library's order.
std::vector<const SectionSchema*> AllAreas();

// The key of an area's element, "/EchoScu": the first step of its keys.
std::wstring AreaKey(const SectionSchema& area);

// "echo, storage, ..." in the library's order.
std::string AreaNameList();

// The tables of the named areas (every area when names is empty), without
// repeats; false with *why naming the first unknown area and its nearest name.
bool SelectAreas(const std::vector<std::string>& names, std::vector<const SectionSchema*>* areas,
                 std::string* why);

// Every value key and list key the tables describe, each list at its entry 0
// ("/EchoScu/Syntax[0]/AbstractSyntax"), in UTF-8: the candidates of key hints.
std::vector<std::string> KnownKeys();

// The element names of a key, in UTF-8: "/EchoScu/Folder/WorkFolder" gives
// EchoScu, Folder, WorkFolder.
std::vector<std::string> KeyNames(const wchar_t* key);

}  // namespace dicomsettings_tool

#endif
