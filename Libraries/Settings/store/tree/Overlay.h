// Keys resolved over a stack of settings trees, nearest first: a host's own
// settings over those of the site it extends, and so on up.
//
//  - A step without an index ("/EchoScu", "Folder") names one element, looked for
//    in every tree that holds the path so far: a key's node is that of the nearest
//    tree that holds it, an empty value included.
//  - A step with an index, "[0]" included ("Syntax[2]", "DicomClient[0]"), names an
//    entry of a list: the list is taken whole from the nearest tree whose element
//    there holds any entry of it, and the rest of the key is looked for in that
//    tree only. No list is ever mixed from two trees by position.
//  - A count is that of a list: the nearest tree holding any entry gives it.
//
// Writes go to the nearest tree only: a list it takes from a farther tree is first
// copied there whole, so that its own copy stands for the list from then on.
#ifndef DICOMSETTINGS_STORE_TREE_OVERLAY_H
#define DICOMSETTINGS_STORE_TREE_OVERLAY_H

#include <cstddef>

#include "tree/ParsedKey.h"
#include "tree/PendingChanges.h"
#include "tree/SettingsDocument.h"

namespace keytreestore {

// Most trees one stack holds: the settings opened and the sources they extend.
constexpr size_t kMaxStackedTrees = 8;

class Overlay {
 public:
  // trees[0] is the nearest; at most kMaxStackedTrees, each non-null.
  Overlay(SettingsDocument* const* trees, size_t count) : trees_(trees), count_(count) {}

  // The node key names and the index of the tree that holds it; a null node
  // when none does.
  pugi::xml_node Find(const ParsedKey& key, size_t* tree = nullptr) const;
  // The number of entries of the list key names (its last step's name under the
  // node of the steps before it).
  int Count(const ParsedKey& key) const;
  // The node of key in the nearest tree, created as SettingsDocument::FindOrCreate
  // creates it, after the lists on the way that a farther tree gives have been
  // copied into the nearest; each value copied is recorded in changes, so that a
  // save replaying them rebuilds the copy. A null node when memory runs out or
  // with *refused set as FindOrCreate sets it.
  pugi::xml_node FindOrCreate(const ParsedKey& key, const wchar_t* text, PendingChanges& changes,
                              bool* refused) const;
  // Copies into the nearest tree, whole, every list on the way of key that a
  // farther tree gives, recording each value copied in changes. False when memory
  // runs out, or with *refused set as FindOrCreate sets it.
  bool TakeLists(const ParsedKey& key, PendingChanges& changes, bool* refused) const;

 private:
  // Walks the first `steps` steps of key: at[i] is the node tree i holds there,
  // or null where it holds none (or where a list step chose another tree).
  void Walk(const ParsedKey& key, size_t steps, pugi::xml_node* at) const;
  // The index of the nearest tree whose node in at holds an element named as
  // step; count_ when none does.
  size_t Nearest(const pugi::xml_node* at, const KeyStep& step) const;
  // Moves at one step down: for a list step, in the tree owner only.
  void Descend(pugi::xml_node* at, const KeyStep& step, size_t owner) const;

  SettingsDocument* const* trees_;
  size_t count_;
};

}  // namespace keytreestore

#endif
