// `rollback PATH --to ID [--reason TEXT]`: puts every value that a record after
// record ID changed back to what it was just after that record (StoreRevertTo)
// and keeps that in one save, recorded with the reason "rollback to record ID".
// Before saving, each key that changes is printed with its value now and the
// value it goes back to, both read from the settings, so that what is printed
// is what is saved even where the settings were changed by other means.
#include <algorithm>
#include <iostream>

#include "ChangeHistory.h"
#include "Commands.h"
#include "Diagnostics.h"
#include "SettingsFile.h"
#include "WideText.h"

namespace dicomsettings_tool {
namespace {

int Refuse(const std::string& file, const std::string& why) {
  ReportError(kExitUsage, file, why);
  return ReportError(kExitUsage, file, "nothing changed");
}

// The keys the records after record id changed, the first changed first; false
// when the history holds no record id.
bool KeysChangedAfter(const History& history, long long id, std::vector<std::string>* keys) {
  const auto& records = history.records;
  const auto found = std::find_if(records.begin(), records.end(),
                                  [&](const ChangeRecord& record) { return record.id == id; });
  if (found == records.end()) return false;
  for (auto record = std::make_reverse_iterator(found); record != records.rend(); ++record) {
    for (const KeyChange& change : record->changes) {
      if (std::find(keys->begin(), keys->end(), change.key) == keys->end()) {
        keys->push_back(change.key);
      }
    }
  }
  return true;
}

std::optional<std::string> ValueAt(const wchar_t* path, const std::string& key) {
  std::wstring wide;
  wchar_t text[STORE_VALUE_BUFFER_LENGTH];
  if (!ToWide(key, &wide) || StoreGetValue(text, path, wide.c_str()) != STORE_OK) {
    return std::nullopt;
  }
  return ToUtf8(text);
}

}  // namespace

int RunRollback(const std::string& file, long long id, const std::string& reason) {
  SettingsFile settings(file);
  if (const int failed = OpenOrReport(settings)) return failed;
  const wchar_t* path = settings.Path();
  History history;
  std::string why;
  if (!ReadHistory(path, &history, &why)) return Refuse(file, why);
  std::vector<std::string> keys;
  const bool known = KeysChangedAfter(history, id, &keys);
  std::vector<std::optional<std::string>> now;
  for (const std::string& key : keys) now.push_back(ValueAt(path, key));
  if (StoreRevertTo(path, id) != STORE_OK) return Refuse(file, FailureText(path));
  if (!known) return Refuse(file, "record " + std::to_string(id) + " is not in the history read");
  bool any = false;
  for (size_t i = 0; i < keys.size(); ++i) {
    const std::optional<std::string> then = ValueAt(path, keys[i]);
    if (then == now[i]) continue;
    std::cout << ChangeLine(keys[i], now[i], then) << '\n';
    any = true;
  }
  if (!any) {
    std::cout << "nothing to roll back\n";
    return kExitSuccess;  // the reverted tree is dropped unsaved with the file
  }
  std::wstring recorded;
  ToWide("rollback to record " + std::to_string(id) + (reason.empty() ? "" : ": " + reason),
         &recorded);
  if (StoreSetChangeReason(path, recorded.c_str()) != STORE_OK) {
    return Refuse(file, "--reason: " + FailureText(path));
  }
  return settings.Save(&why) ? kExitSuccess : Refuse(file, why);
}

}  // namespace dicomsettings_tool
