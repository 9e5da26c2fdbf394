// Loading, saving and watching settings kept under an etcd key prefix.
#include "etcd/EtcdBacking.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <thread>
#include <tuple>
#include <vector>

#include "etcd/AreaText.h"
#include "etcd/Base64.h"
#include "history/TreeDiff.h"
#include "text/Printable.h"
#include "util/FailureNote.h"

namespace keytreestore {
namespace {

// The key, below the prefix, that names the source the settings extend: no area
// is named so, as no element name starts with ".".
constexpr const char* kLinkKey = ".extends";
// What a save's writes hold for an area it deletes: no area's text holds a NUL.
const std::string kRemoved(1, '\0');
// The history's keys: the newest id, and each record below it by its id. ".c"
// sorts before ".d", where the settings' range starts: ".extends" and every
// element name sort after it.
constexpr const char* kCounterKey = ".changes";
constexpr const char* kSettingsStart = ".d";

// A record's key below the prefix: ids in 20 digits sort as numbers.
std::string RecordKey(long long id) {
  char digits[32];
  std::snprintf(digits, sizeof digits, "%s/%020lld", kCounterKey, id);
  return digits;
}

// The area named area (its element's first) read from its kept text into
// *document; a null node where the text is none or does not parse.
pugi::xml_node AreaFromText(const std::string& area, const std::string* text,
                            SettingsDocument* document) {
  std::string fault;
  if (text == nullptr || *text == kRemoved || document->MakeEmpty() != STORE_OK ||
      AddArea(*document, area.substr(0, area.find('[')), *text, &fault) != STORE_OK) {
    return pugi::xml_node();
  }
  return document->Root().first_child();
}

const nlohmann::json& Member(const nlohmann::json& object, const char* name) {
  static const nlohmann::json kNull;
  if (!object.is_object()) return kNull;
  const auto found = object.find(name);
  return found == object.end() ? kNull : *found;
}

// The element name of the area a recorded key lies in ("EchoScu" for
// "/EchoScu[2]/TaskCount"); empty for a key that does not parse. Every area of
// that name is looked at by a save: a removal moves the later ones up.
std::string AreaOfChange(const std::wstring& text) {
  ParsedKey key;
  if (key.Parse(text.c_str()) != STORE_OK) return std::string();
  return std::string(key[0].name, key[0].length);
}

// The element name an area's key holds ("Many" for "Many[2]").
std::string ElementOf(const std::string& area) {
  return area.substr(0, area.find('['));
}

}  // namespace

EtcdBacking::EtcdBacking(const EtcdPath& path, EtcdConfig config)
    : client_(path.endpoints, std::move(config)),
      prefix_(path.prefix + '/'),
      random_(std::random_device()()) {}

nlohmann::json EtcdBacking::Range() const {
  return SettingsRange(prefix_);
}

nlohmann::json SettingsRange(const std::string& prefix) {
  std::string end = prefix;
  ++end.back();  // "/" becomes "0": the first key after the prefix's range
  return {{"key", EncodeBase64(prefix + kSettingsStart)}, {"range_end", EncodeBase64(end)}};
}

nlohmann::json EtcdBacking::ReadBoth() const {
  return {{"success",
           {{{"request_range", Range()}},
            {{"request_range", {{"key", EncodeBase64(prefix_ + kCounterKey)}}}}}}};
}

int EtcdBacking::ReadBothAnswer(const nlohmann::json& responses, Snapshot* snapshot,
                                SettingsDocument* document, StoreParseError* error) const {
  const bool both = responses.is_array() && responses.size() == 2;
  const nlohmann::json& settings = both ? Member(responses[0], "response_range") : nlohmann::json();
  const nlohmann::json& counter = both ? Member(responses[1], "response_range") : nlohmann::json();
  const int result = ReadSnapshot(settings, snapshot, document, error);
  if (result != STORE_OK) return result;
  const nlohmann::json& kvs = Member(counter, "kvs");
  snapshot->newestRecord = 0;
  snapshot->counterVersion = 0;
  std::string key;
  std::string value;
  if (kvs.is_array() && !kvs.empty() && DecodeKeyValue(kvs[0], &key, &value)) {
    snapshot->newestRecord = std::atoll(value.c_str());
    snapshot->counterVersion = JsonInteger(kvs[0], "version");
  }
  return STORE_OK;
}

int EtcdBacking::ReadAreas(const nlohmann::json& answer, Snapshot* snapshot) const {
  snapshot->revision = JsonInteger(Member(answer, "header"), "revision");
  snapshot->newestMod = 0;
  snapshot->areas.clear();
  snapshot->count = 0;
  std::string key;
  std::string value;
  const nlohmann::json& kvs = Member(answer, "kvs");
  for (const nlohmann::json& kv : kvs.is_array() ? kvs : nlohmann::json::array()) {
    if (!DecodeKeyValue(kv, &key, &value) || key.compare(0, prefix_.size(), prefix_) != 0) {
      NoteFailure("etcd answered with a key outside %s", prefix_.c_str());
      return STORE_E_IO;
    }
    // Every key counts for the update check, those of prefixes nested below too;
    // only the prefix's own keys are read.
    snapshot->newestMod = std::max(snapshot->newestMod, JsonInteger(kv, "mod_revision"));
    ++snapshot->count;
    if (key.find('/', prefix_.size()) != std::string::npos) continue;
    snapshot->areas.emplace(key.substr(prefix_.size()), value);
  }
  return STORE_OK;
}

int EtcdBacking::ReadSnapshot(const nlohmann::json& answer, Snapshot* snapshot,
                              SettingsDocument* document, StoreParseError* error) const {
  int result = ReadAreas(answer, snapshot);
  if (result != STORE_OK) return result;
  // Same-named areas go in by index: "Client[10]" sorts before "Client[2]" as a key.
  std::vector<std::tuple<std::string, long, const std::string*>> order;
  for (const auto& area : snapshot->areas) {
    if (area.first == kLinkKey) continue;
    order.emplace_back(area.first.substr(0, area.first.find('[')), AreaIndex(area.first),
                       &area.first);
  }
  std::sort(order.begin(), order.end());
  SettingsDocument fresh;
  result = fresh.MakeEmpty();
  std::string fault;
  for (const auto& entry : order) {
    const std::string& area = *std::get<2>(entry);
    if (result == STORE_OK) result = AddArea(fresh, area, snapshot->areas[area], &fault);
    if (result == STORE_E_PARSE) {
      NoteFailure("%s%s: %s", prefix_.c_str(), area.c_str(), fault.c_str());
      if (error != nullptr) {
        *error = StoreParseError{STORE_E_PARSE, 0, 0, ""};
        std::snprintf(error->text, sizeof error->text, "%s%s: %s", prefix_.c_str(), area.c_str(),
                      fault.c_str());
      }
    }
    if (result != STORE_OK) return result;
  }
  const auto link = snapshot->areas.find(kLinkKey);
  if (link != snapshot->areas.end() &&
      !fresh.Root().append_attribute("extends").set_value(link->second.c_str())) {
    return STORE_E_NO_MEMORY;
  }
  document->Swap(fresh);
  return STORE_OK;
}

int EtcdBacking::Load(SettingsDocument& document, StoreParseError* error) {
  nlohmann::json answer;
  if (client_.Call("kv/txn", ReadBoth(), &answer) != STORE_OK) return STORE_E_IO;
  Snapshot read;
  SettingsDocument fresh;
  const int result = ReadBothAnswer(Member(answer, "responses"), &read, &fresh, error);
  if (result != STORE_OK) return result;
  if (read.areas.empty()) {
    NoteFailure("nothing kept under %s", prefix_.c_str());
    return STORE_E_NO_FILE;
  }
  document.Swap(fresh);
  kept_ = std::move(read);
  return STORE_OK;
}

void EtcdBacking::AreasToPut(const SettingsDocument& document, const Snapshot& base,
                             const std::set<std::string>& areas,
                             std::map<std::string, std::string>* puts) const {
  puts->clear();
  SiblingNames names;
  std::set<std::string> held;
  for (pugi::xml_node area = document.Root().first_child(); area; area = area.next_sibling()) {
    if (area.type() != pugi::node_element) continue;
    std::string name = names.Next(area);
    held.insert(name);
    // Areas not kept yet go too: the empty ones created on the way to an index.
    const auto kept = base.areas.find(name);
    if (areas.count(ElementOf(name)) == 0 && kept != base.areas.end()) continue;
    std::string text = AreaText(area);
    if (kept != base.areas.end() && kept->second == text) continue;
    puts->emplace(std::move(name), std::move(text));
  }
  // Areas removed: kept, of a name changed, and no longer in the tree.
  for (const auto& kept : base.areas) {
    if (kept.first == kLinkKey || held.count(kept.first) != 0) continue;
    if (areas.count(ElementOf(kept.first)) != 0) puts->emplace(kept.first, kRemoved);
  }
  // The source these settings extend, when it is new or named anew.
  const std::string link = document.Root().attribute("extends").value();
  const auto kept = base.areas.find(kLinkKey);
  if (!link.empty() && (kept == base.areas.end() || kept->second != link)) {
    puts->emplace(kLinkKey, link);
  }
}

ChangeRecord EtcdBacking::RecordOf(const Snapshot& base,
                                   const std::map<std::string, std::string>& puts,
                                   const std::optional<std::string>& reason) const {
  ChangeRecord record;
  if (HistoryLimit() == 0) return record;
  for (const auto& put : puts) {
    if (put.first == kLinkKey) continue;
    const auto kept = base.areas.find(put.first);
    SettingsDocument old;
    SettingsDocument now;
    DiffElements('/' + put.first,
                 AreaFromText(put.first, kept == base.areas.end() ? nullptr : &kept->second, &old),
                 AreaFromText(put.first, &put.second, &now), &record.changes);
  }
  if (record.changes.empty()) return record;
  FillRecordHeader(reason, &record);
  record.id = base.newestRecord + 1;
  return record;
}

nlohmann::json EtcdBacking::SaveTransaction(const Snapshot& base,
                                            const std::map<std::string, std::string>& puts,
                                            const ChangeRecord& record) const {
  nlohmann::json success = nlohmann::json::array();
  // Only the areas put are compared: a key's own revision is cheap to look up,
  // where a comparison over the whole prefix reads every area.
  nlohmann::json compare = nlohmann::json::array();
  const auto put = [&](const std::string& key, const std::string& text) {
    success.push_back(
        {{"request_put", {{"key", EncodeBase64(prefix_ + key)}, {"value", EncodeBase64(text)}}}});
  };
  for (const auto& area : puts) {
    if (area.second == kRemoved) {
      success.push_back({{"request_delete_range", {{"key", EncodeBase64(prefix_ + area.first)}}}});
    } else {
      put(area.first, area.second);
    }
    // A deleted area compares as a put one: another writer's change to it wins.
    compare.push_back({{"target", "MOD"},
                       {"key", EncodeBase64(prefix_ + area.first)},
                       {"result", "LESS"},
                       {"mod_revision", std::to_string(base.revision + 1)}});
  }
  if (!record.changes.empty()) {
    put(RecordKey(record.id), RecordToJson(record));
    put(kCounterKey, std::to_string(record.id));
    compare.push_back({{"target", "VERSION"},
                       {"key", EncodeBase64(prefix_ + kCounterKey)},
                       {"result", "EQUAL"},
                       {"version", std::to_string(base.counterVersion)}});
    // The oldest go once a tenth of the limit more has piled up, so that most
    // saves carry no deletion; readers list the newest limit records.
    const long long limit = static_cast<long long>(HistoryLimit());
    if (record.id > limit && (record.id - limit) % std::max(1LL, limit / 10) == 0) {
      success.push_back(
          {{"request_delete_range",
            {{"key", EncodeBase64(prefix_ + RecordKey(0))},
             {"range_end", EncodeBase64(prefix_ + RecordKey(record.id - limit + 1))}}}});
    }
  }
  return {{"compare", compare}, {"success", success}, {"failure", ReadBoth()["success"]}};
}

int EtcdBacking::Save(SettingsDocument& document, const PendingChanges& changes,
                      const std::optional<std::string>& reason) {
  std::set<std::string> areas;
  changes.ForEach([&](const PendingChange& change) { areas.insert(AreaOfChange(change.key)); });
  SettingsDocument merged;
  bool merging = false;
  Snapshot base = kept_;
  std::map<std::string, std::string> puts;
  for (int round = 0; round < kMaxSaveRounds; ++round) {
    AreasToPut(merging ? merged : document, base, areas, &puts);
    const ChangeRecord record = RecordOf(base, puts, reason);
    nlohmann::json answer;
    if (client_.Call("kv/txn", SaveTransaction(base, puts, record), &answer) != STORE_OK) {
      return STORE_E_IO;
    }
    if (Member(answer, "succeeded") == true) {
      if (!record.changes.empty()) {
        base.newestRecord = record.id;
        ++base.counterVersion;
      }
      const long long revision = JsonInteger(Member(answer, "header"), "revision");
      const bool alone = revision == base.revision + (puts.empty() ? 0 : 1);
      base.revision = revision;
      if (!puts.empty()) base.newestMod = revision;
      for (auto& put : puts) {
        const bool known = base.areas.count(put.first) != 0;
        if (put.second == kRemoved) {
          base.areas.erase(put.first);
          base.count -= known ? 1 : 0;
          continue;
        }
        if (!known) ++base.count;
        base.areas[put.first] = std::move(put.second);
      }
      if (merging) document.Swap(merged);
      kept_ = std::move(base);
      if (alone) return STORE_OK;
      // The cluster changed besides this save since base, perhaps under the prefix:
      // the tree takes in what is kept now (the changes are committed; a later
      // save of the same key by another writer wins over them). When that read
      // fails, the next update check says so.
      if (Load(document, nullptr) != STORE_OK) kept_.count = -1;
      return STORE_OK;
    }
    // Another writer saved an area this save puts since base: its version, read in
    // the same transaction, becomes the base, and this process's changes go on top.
    SettingsDocument fresh;
    int result = ReadBothAnswer(Member(answer, "responses"), &base, &fresh, nullptr);
    if (result == STORE_OK) result = ReplayChanges(changes, fresh);
    if (result != STORE_OK) return result;
    merged.Swap(fresh);
    merging = true;
    // Writers that met here would otherwise meet again on every retry, the same
    // one losing each time: a random pause, growing with the rounds, parts them.
    const int longest = 1 << (round < kBackoffDoublings ? round : kBackoffDoublings);
    std::this_thread::sleep_for(std::chrono::milliseconds(random_() % (longest + 1)));
  }
  return STORE_E_IO;
}

int EtcdBacking::UpdateCheck(int* updated) {
  nlohmann::json request = Range();
  request["keys_only"] = true;
  request["sort_order"] = "DESCEND";
  request["sort_target"] = "MOD";
  request["limit"] = 1;
  nlohmann::json answer;
  if (client_.Call("kv/range", request, &answer) != STORE_OK) return STORE_E_IO;
  const nlohmann::json& kvs = Member(answer, "kvs");
  const long long newest = kvs.is_array() && !kvs.empty() ? JsonInteger(kvs[0], "mod_revision") : 0;
  *updated = newest != kept_.newestMod || JsonInteger(answer, "count") != kept_.count ? 1 : 0;
  return STORE_OK;
}

int EtcdBacking::ReadHistory(History* history) {
  history->limit = HistoryLimit();
  const std::string first = prefix_ + RecordKey(0);
  const std::string end = prefix_ + kCounterKey + "0";  // after every ".changes/<id>"
  nlohmann::json answer;
  if (client_.Call("kv/range", {{"key", EncodeBase64(first)}, {"range_end", EncodeBase64(end)}},
                   &answer) != STORE_OK) {
    return STORE_E_IO;
  }
  const nlohmann::json& kvs = Member(answer, "kvs");
  std::string key;
  std::string value;
  for (const nlohmann::json& kv : kvs.is_array() ? kvs : nlohmann::json::array()) {
    HistoryEntry entry;
    std::string why;
    if (!DecodeKeyValue(kv, &key, &value)) continue;
    const long long id = std::atoll(key.c_str() + prefix_.size() + std::strlen(kCounterKey) + 1);
    if (RecordFromJson(value, &entry.record, &why)) {
      history->entries.push_back(std::move(entry));
    } else {
      history->faults.push_back({id, key + ": " + why});
    }
  }
  KeepNewest(history->limit, history);
  return STORE_OK;
}

int EtcdBacking::Create(SettingsDocument& document, bool over) {
  nlohmann::json request = Range();
  if (!over) request["count_only"] = true;
  nlohmann::json answer;
  if (client_.Call("kv/range", request, &answer) != STORE_OK) return STORE_E_IO;
  Snapshot read;
  if (!over && JsonInteger(answer, "count") != 0) {
    NoteFailure("settings are kept under %s already", prefix_.c_str());
    return STORE_E_IO;
  }
  // The areas to be replaced are kept as read, so that the save puts only those
  // it changes and finds another writer's save in between.
  read.revision = JsonInteger(Member(answer, "header"), "revision");
  if (over && ReadAreas(answer, &read) != STORE_OK) return STORE_E_IO;
  const int result = document.MakeEmpty();
  if (result != STORE_OK) return result;
  kept_ = std::move(read);
  return STORE_OK;
}

int MakeEtcdBacking(const std::string& path, std::unique_ptr<Backing>* backing) {
  EtcdPath parsed;
  EtcdConfig config;
  const int result = ConfigureEtcdPath(path, &parsed, &config);
  if (result != STORE_OK) return result;
  *backing = std::make_unique<EtcdBacking>(parsed, std::move(config));
  return STORE_OK;
}

}  // namespace keytreestore
