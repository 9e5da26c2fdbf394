// Recording and replaying the values set since the last load or save.
#include "tree/PendingChanges.h"

#include "KeyTreeStore.h"

namespace keytreestore {

void RecordChange(PendingChanges& changes, pugi::xml_node node, const wchar_t* key,
                  const char* value, size_t size) {
  PendingChange& change = changes[node.internal_object()];
  change.key.assign(key);
  change.value.assign(value, size);
  change.ifAbsent = false;
}

void RecordCopy(PendingChanges& changes, pugi::xml_node node, const wchar_t* key,
                const char* value, size_t size) {
  RecordChange(changes, node, key, value, size);
  changes[node.internal_object()].ifAbsent = true;
}

int ReplayChanges(const PendingChanges& changes, SettingsDocument& document) {
  for (const auto& entry : changes) {
    const PendingChange& change = entry.second;
    ParsedKey key;
    if (key.Parse(change.key.c_str()) != STORE_OK) continue;
    if (change.ifAbsent && document.Find(key)) continue;
    pugi::xml_node node = document.FindOrCreate(key);
    if (!node || !node.text().set(change.value.c_str())) return STORE_E_NO_MEMORY;
  }
  return STORE_OK;
}

}  // namespace keytreestore
