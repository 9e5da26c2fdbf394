// Recording and replaying the values set since the last load or save.
#include "ChangeLog.h"

#include "KeyTreeStore.h"

namespace keytreestore {

void RecordChange(ChangeLog& changes, const ParsedKey& key, const wchar_t* text, const char* value,
                  size_t size) {
  std::string canonical = key.Canonical(key.size());
  auto found = changes.find(canonical);
  if (found == changes.end())
    found = changes.emplace(std::move(canonical), std::pair<std::wstring, std::string>()).first;
  found->second.first.assign(text);
  found->second.second.assign(value, size);
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
