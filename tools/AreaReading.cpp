// Walks a section's tables level by level: each value read once as text and
// once through its proxy kind, each list counted by the library.
#include "AreaReading.h"

namespace dicomsettings_tool {
namespace {

using AccessLibraryBaseCpp::ProxyCore;

double TypedValue(const ProxyCore& proxy, ValueKind kind) {
  switch (kind) {
    case ValueKind::Integer:
      return static_cast<int>(static_cast<const AccessLibraryBaseCpp::IntProxy&>(proxy));
    case ValueKind::FloatingPoint:
      return static_cast<double>(static_cast<const AccessLibraryBaseCpp::DoubleProxy&>(proxy));
    case ValueKind::Boolean:
      return static_cast<int>(static_cast<const AccessLibraryBaseCpp::BoolProxy&>(proxy));
    case ValueKind::String:
      break;
  }
  return 0;
}

ValueReading ReadValue(const ProxyCore& proxy, ValueKind kind) {
  wchar_t text[STORE_VALUE_BUFFER_LENGTH];
  ValueReading reading{proxy.GetKey(), kind, proxy.ReadText(text),
                       std::wstring(), 0,    std::string()};
  if (reading.result == STORE_OK) {
    reading.text = text;
    reading.value = TypedValue(proxy, kind);
  }
  return reading;
}

void ReadLevel(const ObjectLevel& level, std::vector<ValueReading>* values,
               std::vector<ListReading>* lists) {
  for (int v = 0; v < level.valueCount; ++v) {
    values->push_back(ReadValue(level.Proxy(level.values[v]), level.values[v].kind));
  }
  for (int l = 0; l < level.listCount; ++l) {
    const ListField& list = level.lists[l];
    ListReading reading{level.NodeKey() + list.key, list.capacity, level.Count(list), {}};
    for (int i = 0; i < reading.count; ++i) {
      const ObjectLevel entry = level.Entry(list, i);
      reading.entries.push_back(EntryReading{entry.NodeKey(), {}, {}});
      ReadLevel(entry, &reading.entries.back().values, &reading.entries.back().lists);
    }
    lists->push_back(std::move(reading));
  }
}

}  // namespace

void AddOrigins(const SettingsFile& file, AreaReading* reading) {
  ForEachValue(*reading, [&](ValueReading& value) { value.origin = file.Origin(value.key); });
}

bool ReadArea(SettingsFile& file, const SectionSchema& area, AreaReading* reading) {
  const std::optional<ObjectLevel> level = file.Level(area);
  if (!level) return false;
  *reading = AreaReading{&area, {}, {}};
  ReadLevel(*level, &reading->values, &reading->lists);
  return true;
}

}  // namespace dicomsettings_tool
