// Recording and replaying the values set since the last load or save.
#include "ChangeLog.h"

#include "KeyTreeStore.h"

namespace keytreestore {

void RecordChange(ChangeLog& changes, pugi::xml_node node, const wchar_t* text, const char* value,
                  size_t size) {
  std::pair<std::wstring, std::string>& change = changes[node.internal_object()];
  change.first.assign(text);
  change.second.assign(value, size);
}

int ReplayChanges(const ChangeLog& changes, SettingsDocument& document) {
  for (const auto& change : changes) {
    ParsedKey key;
    if (key.Parse(change.second.first.c_str()) != STORE_OK) continue;
    pugi::xml_node node = document.FindOrCreate(key);
    if (!node || !node.text().set(change.second.second.c_str())) return STORE_E_NO_MEMORY;
  }
  return STORE_OK;
}

}  // namespace keytreestore
