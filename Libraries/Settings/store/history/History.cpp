// Marking a history's records and writing it for a caller.
#include "history/History.h"

#include <nlohmann/json.hpp>

namespace keytreestore {

void MarkFileHistory(const std::string& current, History* history) {
  std::vector<HistoryEntry>& entries = history->entries;
  for (size_t i = 0; i < entries.size(); ++i) {
    const ChangeRecord& record = entries[i].record;
    const std::string& next = i + 1 < entries.size() ? entries[i + 1].record.before : current;
    if (record.after.empty() || record.after == next) continue;
    if (record.before == next) {
      entries[i].saved = false;
    } else {
      entries[i].outside = true;
    }
  }
}

void KeepNewest(size_t limit, History* history) {
  std::vector<HistoryEntry>& entries = history->entries;
  if (entries.size() > limit) entries.erase(entries.begin(), entries.end() - limit);
}

std::string HistoryToJson(const History& history) {
  nlohmann::ordered_json records = nlohmann::ordered_json::array();
  for (auto entry = history.entries.rbegin(); entry != history.entries.rend(); ++entry) {
    nlohmann::ordered_json record = RecordJson(entry->record);
    record.erase("file");
    record["saved"] = entry->saved;
    if (entry->outside) record["outside"] = true;
    records.push_back(std::move(record));
  }
  nlohmann::ordered_json faults = nlohmann::ordered_json::array();
  for (const HistoryFault& fault : history.faults) {
    faults.push_back({{"line", fault.line}, {"text", fault.text}});
  }
  const nlohmann::ordered_json all = {
      {"records", records}, {"faults", faults}, {"limit", history.limit}};
  return all.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace keytreestore
