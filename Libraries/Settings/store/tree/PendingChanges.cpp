// Recording and replaying the changes made since the last load or save.
#include "tree/PendingChanges.h"

#include <algorithm>

#include "KeyTreeStore.h"

namespace keytreestore {

void PendingChanges::Drop(pugi::xml_node node, bool below) {
  const auto found = byNode_.find(node.internal_object());
  if (found != byNode_.end()) {
    list_[found->second].live = false;
    byNode_.erase(found);
    ++replaced_;
  }
  if (!below) return;
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    Drop(child, true);
  }
}

void PendingChanges::Compact() {
  if (replaced_ < 64 || replaced_ < list_.size() / 2) return;
  std::vector<PendingChange> kept;
  kept.reserve(list_.size() - replaced_);
  std::unordered_map<size_t, size_t> moved;
  for (size_t i = 0; i < list_.size(); ++i) {
    if (!list_[i].live) continue;
    moved[i] = kept.size();
    kept.push_back(std::move(list_[i]));
  }
  for (auto& entry : byNode_) entry.second = moved[entry.second];
  list_.swap(kept);
  replaced_ = 0;
}

void PendingChanges::Set(pugi::xml_node node, const wchar_t* key, const char* value, size_t size,
                         bool ifAbsent) {
  Drop(node, false);
  PendingChange change;
  change.key.assign(key);
  change.value.assign(value, size);
  change.ifAbsent = ifAbsent;
  list_.push_back(std::move(change));
  byNode_[node.internal_object()] = list_.size() - 1;
  Compact();
}

void PendingChanges::Remove(pugi::xml_node node, const wchar_t* key) {
  // The nodes go, and their memory may serve new ones: no record may name them.
  Drop(node, true);
  PendingChange change;
  change.key.assign(key);
  change.removal = true;
  list_.push_back(std::move(change));
  ++removals_;
  Compact();
}

void PendingChanges::KeepArea(pugi::xml_node root, const char* name, size_t length) {
  const std::string area(name, length);
  if (std::find(areas_.begin(), areas_.end(), area) != areas_.end()) return;
  if (!before_) {
    before_ = std::make_unique<pugi::xml_document>();
    before_->append_child("Before");
  }
  areas_.push_back(area);
  pugi::xml_node copies = before_->first_child();
  for (pugi::xml_node child = root.child(area.c_str()); child;
       child = child.next_sibling(area.c_str())) {
    copies.append_copy(child);
  }
}

void PendingChanges::clear() {
  before_.reset();
  areas_.clear();
  list_.clear();
  byNode_.clear();
  removals_ = 0;
  replaced_ = 0;
}

int ReplayChanges(const PendingChanges& changes, SettingsDocument& document) {
  int result = STORE_OK;
  changes.ForEach([&](const PendingChange& change) {
    ParsedKey key;
    if (result != STORE_OK || key.Parse(change.key.c_str()) != STORE_OK) return;
    pugi::xml_node node = document.Find(key);
    if (change.removal) {
      if (node) document.Remove(node);
      return;
    }
    if (change.ifAbsent && node) return;
    if (!node) node = document.FindOrCreate(key);
    if (!node || !node.text().set(change.value.c_str())) result = STORE_E_NO_MEMORY;
  });
  return result;
}

}  // namespace keytreestore
