// `history PATH [KEY...] [--json]`: the records of the change history kept with
// the settings, newest first, one block of text each or one JSON array; with
// keys, only the records that changed what a key names, and only those changes.
// The faults of a damaged history follow on standard error, after what could be
// read (exit status 1).
#include <algorithm>
#include <iostream>
#include <nlohmann/json.hpp>

#include "ChangeHistory.h"
#include "Commands.h"
#include "Diagnostics.h"
#include "KeyFilter.h"
#include "SettingsFile.h"
#include "WideText.h"

namespace dicomsettings_tool {
namespace {

using json = nlohmann::ordered_json;

// Keeps the changes some filter covers, and the records that keep any.
void KeepCovered(const KeyFilters& filters, std::vector<ChangeRecord>* records) {
  const auto unwanted = [&](const KeyChange& change) { return !Wanted(filters, change.key); };
  if (filters.empty()) return;
  for (ChangeRecord& record : *records) {
    auto& changes = record.changes;
    changes.erase(std::remove_if(changes.begin(), changes.end(), unwanted), changes.end());
  }
  records->erase(std::remove_if(records->begin(), records->end(),
                                [](const ChangeRecord& record) { return record.changes.empty(); }),
                 records->end());
}

void PrintText(const std::vector<ChangeRecord>& records) {
  for (size_t i = 0; i < records.size(); ++i) {
    const ChangeRecord& record = records[i];
    std::cout << (i > 0 ? "\n" : "") << "record " << record.id << "  " << OneLine(record.time)
              << "  " << OneLine(record.user) << " (uid " << record.uid << ") on "
              << OneLine(record.host) << "  " << OneLine(record.program) << '[' << record.pid
              << "]\n";
    if (record.reason) std::cout << "  reason: " << OneLine(*record.reason) << '\n';
    if (!record.saved) {
      std::cout << "  not saved: the process stopped before the settings were put in place\n";
    }
    for (const KeyChange& change : record.changes) {
      std::cout << "  " << ChangeLine(change.key, change.before, change.after) << '\n';
    }
    if (record.outside) std::cout << "  changed by other means than the store after this record\n";
  }
}

json Nullable(const std::optional<std::string>& text) {
  return text ? json(*text) : json(nullptr);
}

json ToJson(const std::vector<ChangeRecord>& records) {
  json items = json::array();
  for (const ChangeRecord& record : records) {
    json changes = json::array();
    for (const KeyChange& change : record.changes) {
      changes.push_back(
          {{"key", change.key}, {"old", Nullable(change.before)}, {"new", Nullable(change.after)}});
    }
    json item = {{"id", record.id},
                 {"time", record.time},
                 {"user", record.user},
                 {"host", record.host},
                 {"program", record.program},
                 {"reason", Nullable(record.reason)},
                 {"changes", std::move(changes)}};
    if (!record.saved) item["saved"] = false;
    if (record.outside) item["outside"] = true;
    items.push_back(std::move(item));
  }
  return items;
}

}  // namespace

int RunHistory(const std::string& file, const std::vector<std::string>& keys, bool asJson) {
  KeyFilters filters;
  std::string why;
  if (!ParseFilters(keys, &filters, &why)) return ReportError(kExitUsage, file, why);
  std::wstring path;
  if (!ToWide(file, &path) || path.empty()) {
    return ReportError(kExitUsage, file, "not a usable file name");
  }
  History history;
  if (!ReadHistory(path, &history, &why)) return ReportError(kExitUsage, file, why);
  // No history and no settings: a path mistyped rather than settings never changed.
  if (history.records.empty() && history.faults.empty() &&
      StoreCheckFile(path.c_str(), nullptr) == STORE_E_NO_FILE) {
    return ReportError(kExitUsage, file, FailureText(path) + PathHint(file, STORE_E_NO_FILE));
  }
  KeepCovered(filters, &history.records);
  if (asJson) {
    std::cout << ToJson(history.records).dump(2, ' ', false, json::error_handler_t::replace)
              << '\n';
  } else {
    PrintText(history.records);
  }
  for (const HistoryFault& fault : history.faults) {
    ReportError(kExitProblems, FaultPlace(file, fault), fault.text);
  }
  return history.faults.empty() ? kExitSuccess : kExitProblems;
}

}  // namespace dicomsettings_tool
