// Reads a saved settings file straight from disk, without the store: one entry
// per leaf element (an element without child elements, the document element
// aside), keyed with an index on every component ("/EchoScu[0]/TaskCount[0]").
// Leaves without text are left out: they are the empty siblings the store adds
// before a node written at a higher index.
#ifndef DICOMSETTINGS_TESTS_SAVEDFILE_H
#define DICOMSETTINGS_TESTS_SAVEDFILE_H

#include <map>
#include <string>

using KeyTexts = std::map<std::wstring, std::wstring>;

// key with "[0]" added to every component that has no index.
std::wstring CanonicalKey(const std::wstring& key);

// Every leaf of the file that has text; throws std::runtime_error when the file
// does not parse.
KeyTexts ReadSavedLeaves(const std::string& file);

// Expects the file to hold exactly the leaves `expected`.
void ExpectSavedLeaves(const std::string& file, const KeyTexts& expected);

#endif
