// The sources an open tree extends, and the tree's keys, counts and update check
// over them.
//
// A source names the one it extends in the "extends" attribute of its document
// element (under an etcd prefix the key PREFIX/.extends holds it, and the tree
// read from there carries it as that attribute): an etcd path, or a file path,
// relative to the folder of the file that names it. A chain holds at most
// kMaxStackedTrees sources, the settings opened included. A link that names a
// source the chain holds already (the settings themselves included), a link over
// STORE_MAX_PATH_LENGTH characters or with a control character, or a relative file
// path named under an etcd prefix makes the settings malformed (STORE_E_PARSE).
// Keys and counts resolve as tree/Overlay.h says.
#ifndef DICOMSETTINGS_STORE_SOURCECHAIN_H
#define DICOMSETTINGS_STORE_SOURCECHAIN_H

#include <memory>
#include <string>
#include <vector>

#include "OpenTrees.h"
#include "tree/ParsedKey.h"

namespace keytreestore {

// Reads the sources that document, the settings at path, extends, nearest first,
// each through a backing of its own. STORE_OK with *parents replaced (empty for
// settings that extend none); else the failure of the first link or source that
// cannot be read, noted with the source that names it, and *parents untouched.
int ReadParents(const std::string& path, const SettingsDocument& document,
                std::vector<std::unique_ptr<Source>>* parents, StoreParseError* error);

// The node a key text names in f or its sources: what SettingsDocument::Lookup
// gives for one tree.
int LookupNode(OpenTree& f, const wchar_t* text, pugi::xml_node* node);
// The depth of the source whose tree holds the node of key: 0 for f's own tree.
int LookupOrigin(OpenTree& f, const wchar_t* text, int* depth);
// Number of entries of the list key names, over f's sources.
int CountNodes(OpenTree& f, const ParsedKey& key);
// The node a value set under key goes to, in f's own tree: the one the key names
// there, or one created as SettingsDocument::FindOrCreate creates it, after lists
// on the way that a source gives have been copied into f's tree (and recorded in
// f.changes). A null node when memory runs out, or with *refused set.
pugi::xml_node WritableNode(OpenTree& f, const ParsedKey& key, const wchar_t* text, bool* refused);
// Removes the node key names, and all below it, from f's own tree, after lists on
// the way that a source gives have been copied into it (as WritableNode copies
// them); the removal is recorded in f.changes. STORE_OK; STORE_E_NOT_FOUND, f as
// it was, when the key names nothing or a node f's tree does not hold (a source
// is never written through f); STORE_E_NO_MEMORY.
int RemoveNode(OpenTree& f, const ParsedKey& key, const wchar_t* text);
// *updated = 1 when f's own settings or those of any source changed.
int UpdateCheckChain(OpenTree& f, int* updated);

}  // namespace keytreestore

#endif
