// Takes the store's JSON text of a history apart. Every field is checked for
// its type: a field missing or of another type reads as not given.
#include "ChangeHistory.h"

#include <nlohmann/json.hpp>

#include "SettingsFile.h"
#include "WideText.h"

namespace dicomsettings_tool {
namespace {

using json = nlohmann::json;

std::optional<std::string> Text(const json& object, const char* name) {
  const auto found = object.find(name);
  if (found == object.end() || !found->is_string()) return std::nullopt;
  return found->get<std::string>();
}

long long Number(const json& object, const char* name) {
  const auto found = object.find(name);
  return found != object.end() && found->is_number_integer() ? found->get<long long>() : -1;
}

bool Flag(const json& object, const char* name, bool otherwise) {
  const auto found = object.find(name);
  return found != object.end() && found->is_boolean() ? found->get<bool>() : otherwise;
}

// An array the history holds under name; null when it holds none.
const json* Array(const json& object, const char* name) {
  const auto found = object.find(name);
  return found != object.end() && found->is_array() ? &*found : nullptr;
}

bool ToRecord(const json& item, ChangeRecord* record) {
  const json* changes = item.is_object() ? Array(item, "changes") : nullptr;
  if (changes == nullptr || !item.contains("id") || !item["id"].is_number_integer()) return false;
  record->id = item["id"].get<long long>();
  record->time = Text(item, "time").value_or("");
  record->user = Text(item, "user").value_or("");
  record->host = Text(item, "host").value_or("");
  record->program = Text(item, "program").value_or("");
  record->uid = Number(item, "uid");
  record->pid = Number(item, "pid");
  record->reason = Text(item, "reason");
  record->saved = Flag(item, "saved", true);
  record->outside = Flag(item, "outside", false);
  for (const json& change : *changes) {
    if (!change.is_object() || !Text(change, "key")) return false;
    record->changes.push_back(
        KeyChange{*Text(change, "key"), Text(change, "old"), Text(change, "new")});
  }
  return true;
}

}  // namespace

bool ReadHistory(const std::wstring& path, History* history, std::string* why) {
  std::string text;
  const bool read = FetchText(
      [&](char* buffer, size_t capacity, size_t* length) {
        return StoreReadHistory(path.c_str(), buffer, capacity, length);
      },
      &text);
  if (!read) {
    *why = "reading the change history: " + FailureText(path);
    return false;
  }
  const json whole = json::parse(text, nullptr, false);
  const json* records = whole.is_object() ? Array(whole, "records") : nullptr;
  const json* faults = whole.is_object() ? Array(whole, "faults") : nullptr;
  *history = History();
  bool shaped = records != nullptr && faults != nullptr;
  for (size_t i = 0; shaped && i < records->size(); ++i) {
    history->records.emplace_back();
    shaped = ToRecord((*records)[i], &history->records.back());
  }
  for (size_t i = 0; shaped && i < faults->size(); ++i) {
    const json& fault = (*faults)[i];
    shaped = fault.is_object();
    if (shaped) {
      history->faults.push_back(
          HistoryFault{Number(fault, "line"), OneLine(Text(fault, "text").value_or(""))});
    }
  }
  if (!shaped) *why = "the store gave the change history in a form this tool does not read";
  return shaped;
}

std::string FaultPlace(const std::string& name, const HistoryFault& fault) {
  std::wstring path;
  ToWide(name, &path);
  if (StorePathKind(path.c_str()) == STORE_KIND_ETCD) return name;
  return name + ".history" + (fault.line > 0 ? ":" + std::to_string(fault.line) : "");
}

std::string ChangeLine(const std::string& key, const std::optional<std::string>& before,
                       const std::optional<std::string>& after) {
  const auto shown = [](const std::optional<std::string>& text) {
    return !text ? std::string("(none)") : text->empty() ? std::string("(empty)") : OneLine(*text);
  };
  return key + ": " + shown(before) + " -> " + shown(after);
}

}  // namespace dicomsettings_tool
