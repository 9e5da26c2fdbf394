// Writing and reading a change record as JSON.
#include "history/ChangeRecord.h"

namespace keytreestore {
namespace {

nlohmann::ordered_json Optional(const std::optional<std::string>& text) {
  return text ? nlohmann::ordered_json(*text) : nlohmann::ordered_json(nullptr);
}

// A text field that may be null; false when it is neither.
bool ReadOptional(const nlohmann::json& object, const char* name,
                  std::optional<std::string>* text) {
  const auto found = object.find(name);
  if (found == object.end() || found->is_null()) {
    text->reset();
    return true;
  }
  if (!found->is_string()) return false;
  *text = found->get<std::string>();
  return true;
}

}  // namespace

nlohmann::ordered_json RecordJson(const ChangeRecord& record) {
  nlohmann::ordered_json changes = nlohmann::ordered_json::array();
  for (const ValueChange& change : record.changes) {
    changes.push_back(
        {{"key", change.key}, {"old", Optional(change.old)}, {"new", Optional(change.now)}});
  }
  nlohmann::ordered_json line = {{"id", record.id},     {"time", record.time},
                                 {"user", record.user}, {"uid", record.uid},
                                 {"host", record.host}, {"program", record.program},
                                 {"pid", record.pid},   {"reason", Optional(record.reason)},
                                 {"changes", changes}};
  if (!record.after.empty()) line["file"] = {{"before", record.before}, {"after", record.after}};
  return line;
}

std::string RecordToJson(const ChangeRecord& record) {
  // A reason from the environment may hold bytes that are not UTF-8: replaced,
  // not thrown on.
  return RecordJson(record).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

bool RecordFromJson(const std::string& line, ChangeRecord* record, std::string* why) {
  const nlohmann::json json = nlohmann::json::parse(line, nullptr, false);
  if (json.is_discarded() || !json.is_object()) {
    *why = "not a JSON object";
    return false;
  }
  try {
    ChangeRecord read;
    read.id = json.at("id").get<long long>();
    read.time = json.at("time").get<std::string>();
    read.user = json.at("user").get<std::string>();
    read.uid = json.value("uid", 0LL);
    read.host = json.at("host").get<std::string>();
    read.program = json.at("program").get<std::string>();
    read.pid = json.value("pid", 0LL);
    if (!ReadOptional(json, "reason", &read.reason)) throw std::invalid_argument("reason");
    for (const nlohmann::json& change : json.at("changes")) {
      ValueChange value;
      value.key = change.at("key").get<std::string>();
      if (!ReadOptional(change, "old", &value.old) || !ReadOptional(change, "new", &value.now)) {
        throw std::invalid_argument("change");
      }
      read.changes.push_back(std::move(value));
    }
    const auto file = json.find("file");
    if (file != json.end()) {
      read.before = file->at("before").get<std::string>();
      read.after = file->at("after").get<std::string>();
    }
    if (read.id < 1) throw std::invalid_argument("id");
    *record = std::move(read);
    return true;
  } catch (const std::exception&) {
    *why = "not a change record (a field is missing or of the wrong kind)";
    return false;
  }
}

}  // namespace keytreestore
