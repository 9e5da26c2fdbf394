// One save's record in the change history, and its form as one line of JSON: who
// saved, when, where, with which program and why, and every value it changed.
#ifndef DICOMSETTINGS_STORE_HISTORY_CHANGERECORD_H
#define DICOMSETTINGS_STORE_HISTORY_CHANGERECORD_H

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace keytreestore {

// One key whose value a save changed: no old text for a key created, no new text
// for a key removed. Texts are UTF-8.
struct ValueChange {
  std::string key;
  std::optional<std::string> old;
  std::optional<std::string> now;
};

struct ChangeRecord {
  long long id = 0;  // from 1, in the order the saves took effect
  std::string time;  // UTC, "2026-12-07T18:10:00.123Z"
  std::string user;  // the real user's name, or its uid as text where it has none
  long long uid = 0;
  std::string host;
  std::string program;
  long long pid = 0;
  std::optional<std::string> reason;
  std::vector<ValueChange> changes;
  // Files only: digests (Digest.h) of the settings file the save replaced (empty
  // where there was none) and of the one it wrote.
  std::string before;
  std::string after;
};

// A line of a history that is not a record.
struct HistoryFault {
  long long line = 0;
  std::string text;
};

// The record as a JSON object, and as one line of JSON without its newline.
nlohmann::ordered_json RecordJson(const ChangeRecord& record);
std::string RecordToJson(const ChangeRecord& record);
// The record a line holds: false, with *why, for a line that is not one.
bool RecordFromJson(const std::string& line, ChangeRecord* record, std::string* why);

}  // namespace keytreestore

#endif
