// Key resolution: matches a key, one table level at a time, against the value
// keys and list keys of a section and of its elements.
#include "KeyTarget.h"

#include <cwctype>

#include "Nearest.h"
#include "WideText.h"

namespace dicomsettings_tool {
namespace {

bool StartsWith(const std::wstring& text, size_t at, const wchar_t* prefix) {
  return text.compare(at, std::wcslen(prefix), prefix) == 0;
}

// Reads "[digits]" at text[*at]; false when there is none or it does not fit an int.
bool ReadIndex(const std::wstring& text, size_t* at, int* index) {
  size_t i = *at;
  if (i >= text.size() || text[i] != L'[') return false;
  long long value = 0;
  size_t digits = 0;
  for (++i; i < text.size() && std::iswdigit(text[i]) && digits < 10; ++i, ++digits) {
    value = value * 10 + (text[i] - L'0');
  }
  if (digits == 0 || i >= text.size() || text[i] != L']' || value > 2147483647LL) return false;
  *index = static_cast<int>(value);
  *at = i + 1;
  return true;
}

enum class Match { kNone, kFound, kRefused };

// Matches key[at..] against one level of tables, filling target.
Match MatchLevel(const std::wstring& key, size_t at, const ValueField* values, int valueCount,
                 const ListField* lists, int listCount, KeyTarget* target, std::string* why,
                 bool entries) {
  for (int v = 0; v < valueCount; ++v) {
    if (key.compare(at, std::wstring::npos, values[v].key) == 0) {
      target->value = &values[v];
      return Match::kFound;
    }
  }
  for (int l = 0; l < listCount; ++l) {
    const ListField& list = lists[l];
    if (!StartsWith(key, at, list.key)) continue;
    size_t next = at + std::wcslen(list.key);
    if (next == key.size()) {
      target->list = &list;
      return Match::kFound;
    }
    int index = 0;  // "<list>/<field>" is entry 0, as the store reads it
    if (key[next] != L'/' && !ReadIndex(key, &next, &index)) continue;
    if (next == key.size() && !entries) {
      *why = ToUtf8(key) + ": names a list entry, not a value; add one of its keys";
      return Match::kRefused;
    }
    if (index >= list.capacity) {
      *why = ToUtf8(key) + ": entry " + std::to_string(index) + " is beyond the " +
             std::to_string(list.capacity) + " entries the library reads of " + ToUtf8(list.key);
      return Match::kRefused;
    }
    target->steps.push_back(ListStep{&list, index});
    if (next == key.size()) return Match::kFound;
    const ElementSchema& element = list.element();
    const Match inner = MatchLevel(key, next, element.values, element.valueCount, element.lists,
                                   element.listCount, target, why, entries);
    if (inner != Match::kNone) return inner;
    target->steps.pop_back();
  }
  return Match::kNone;
}

}  // namespace

ObjectLevel LevelOf(const ObjectLevel& area, const KeyTarget& target) {
  ObjectLevel level = area;
  for (const ListStep& step : target.steps) level = level.Entry(*step.list, step.index);
  return level;
}

bool EntriesExist(const ObjectLevel& area, const KeyTarget& target, const std::string& file,
                  std::string* why) {
  ObjectLevel level = area;
  for (const ListStep& step : target.steps) {
    const int count = level.Count(*step.list);
    if (step.index >= count) {
      const std::string list = ToUtf8(level.NodeKey() + step.list->key);
      *why = list + "[" + std::to_string(step.index) + "]: the list holds " +
             std::to_string(count) + (count == 1 ? " entry" : " entries") +
             "; add one with `dicom-settings add " + file + " " + list + "`";
      return false;
    }
    level = level.Entry(*step.list, step.index);
  }
  return true;
}

bool ResolveKey(const std::wstring& key, KeyTarget* target, std::string* why, bool entries) {
  for (const SectionSchema* area : AllAreas()) {
    *target = KeyTarget();
    target->area = area;
    const Match match = MatchLevel(key, 0, area->values, area->valueCount, area->lists,
                                   area->listCount, target, why, entries);
    if (match == Match::kFound) return true;
    if (match == Match::kRefused) return false;
  }
  *target = KeyTarget();
  const std::string text = ToUtf8(key);
  *why = text + ": no such key" + DidYouMean(text, KnownKeys());
  return false;
}

AccessLibraryBaseCpp::ProxyCore& ReachValue(const ObjectLevel& area, const KeyTarget& target) {
  return LevelOf(area, target).Proxy(*target.value);
}

std::wstring StoreKeyOf(const ObjectLevel& area, const KeyTarget& target) {
  if (target.value != nullptr) return ReachValue(area, target).GetKey();
  const ObjectLevel level = LevelOf(area, target);
  return target.list != nullptr ? level.NodeKey() + target.list->key : level.NodeKey();
}

int CountList(const ObjectLevel& area, const KeyTarget& target) {
  return LevelOf(area, target).Count(*target.list);
}

}  // namespace dicomsettings_tool
