// The record of the changes this process made to a settings tree since it last
// loaded or saved it, and their replay on top of another writer's version: the
// merge rule every backing follows (the later save wins for a key both set).
#ifndef DICOMSETTINGS_STORE_TREE_PENDINGCHANGES_H
#define DICOMSETTINGS_STORE_TREE_PENDINGCHANGES_H

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "tree/ParsedKey.h"
#include "tree/SettingsDocument.h"

namespace keytreestore {

// One change since the last load or save.
struct PendingChange {
  std::wstring key;       // the key text it was made under (the last of its spellings)
  std::string value;      // the value set, UTF-8
  bool ifAbsent = false;  // copied in with a list, not set: replayed only where the key
                          // names nothing, so that it never undoes another writer's value
  bool removal = false;   // the node the key names was removed, with all below it
  bool live = true;       // false for a record a later change of its node replaced
};

// The changes in the order they were made; a value set again on a node, under
// any spelling of its key, replaces that node's record and counts as made then
// (a removal in between may have given the node another key). A record names a
// node of one tree only, so the record is cleared whenever that tree is replaced
// (a load, or a save that merged).
class PendingChanges {
 public:
  // Records a value set on node under the key text.
  void Set(pugi::xml_node node, const wchar_t* key, const char* value, size_t size,
           bool ifAbsent = false);
  // Records the removal of node, named by the key text, and of all below it.
  void Remove(pugi::xml_node node, const wchar_t* key);

  // Keeps a copy of the areas (elements below root, the document element) named
  // name, as they are before the first change in them since the last load or
  // save: what the change record of the next save compares them with. Call before
  // changing anything below an area.
  void KeepArea(pugi::xml_node root, const char* name, size_t length);
  // The element the copies lie below (null when none was kept), and the names kept.
  pugi::xml_node AreasBefore() const { return before_ ? before_->first_child() : pugi::xml_node(); }
  const std::vector<std::string>& AreasKept() const { return areas_; }

  bool empty() const { return byNode_.empty() && removals_ == 0; }
  void clear();
  // Calls fn(change) for every live record, in the order made.
  template <class Fn>
  void ForEach(Fn fn) const {
    for (const PendingChange& change : list_) {
      if (change.live) fn(change);
    }
  }

 private:
  // Marks node's record, and those of the nodes below it when below, replaced.
  void Drop(pugi::xml_node node, bool below);
  // Drops the replaced records once they outnumber the live ones.
  void Compact();

  std::vector<PendingChange> list_;
  std::unordered_map<const pugi::xml_node_struct*, size_t> byNode_;  // into list_
  size_t removals_ = 0;
  size_t replaced_ = 0;
  std::unique_ptr<pugi::xml_document> before_;
  std::vector<std::string> areas_;
};

// Makes every recorded change in document, in order, creating elements along the
// keys of values set (a copied one only where its key names nothing there) and
// removing what removed keys name there: STORE_OK or STORE_E_NO_MEMORY.
int ReplayChanges(const PendingChanges& changes, SettingsDocument& document);

}  // namespace keytreestore

#endif
