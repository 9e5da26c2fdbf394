// The JSON form of `show`: the same readings, values typed by their kind.
#include "KeyTreeStore.h"
#include "ShowFormat.h"
#include "WideText.h"

namespace dicomsettings_tool {
namespace {

using json = nlohmann::ordered_json;

json ValueToJson(const ValueReading& value) {
  json item = {{"key", ToUtf8(value.key)},
               {"kind", DicomAccessLibraryCpp::ValueKindName(value.kind)},
               {"text", nullptr},
               {"value", nullptr}};
  if (value.result != STORE_OK) {
    item["error"] = AccessLibraryBaseCpp::ResultText(value.result);
    return item;
  }
  item["text"] = ToUtf8(value.text);
  if (!value.origin.empty()) item["origin"] = value.origin;
  switch (value.kind) {
    case ValueKind::Integer:
      item["value"] = static_cast<int>(value.value);
      break;
    case ValueKind::FloatingPoint:
      item["value"] = value.value;
      break;
    case ValueKind::Boolean:
      item["value"] = value.value != 0;
      break;
    case ValueKind::String:
      item["value"] = item["text"];
      break;
  }
  return item;
}

json ValuesToJson(const std::vector<ValueReading>& values) {
  json items = json::array();
  for (const ValueReading& value : values) items.push_back(ValueToJson(value));
  return items;
}

json ListsToJson(const std::vector<ListReading>& lists) {
  json items = json::array();
  for (const ListReading& list : lists) {
    json entries = json::array();
    for (const EntryReading& entry : list.entries) {
      entries.push_back({{"key", ToUtf8(entry.key)},
                         {"values", ValuesToJson(entry.values)},
                         {"lists", ListsToJson(entry.lists)}});
    }
    items.push_back({{"key", ToUtf8(list.key)},
                     {"capacity", list.capacity},
                     {"count", list.count},
                     {"entries", std::move(entries)}});
  }
  return items;
}

}  // namespace

json AreaToJson(const AreaReading& reading) {
  return {{"area", reading.area->area},
          {"class", reading.area->className},
          {"values", ValuesToJson(reading.values)},
          {"lists", ListsToJson(reading.lists)}};
}

}  // namespace dicomsettings_tool
