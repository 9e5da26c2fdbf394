// How `show` prints area readings: as indented text, or as JSON.
#ifndef DICOMSETTINGS_TOOLS_SHOWFORMAT_H
#define DICOMSETTINGS_TOOLS_SHOWFORMAT_H

#include <nlohmann/json.hpp>
#include <ostream>

#include "AreaReading.h"

namespace dicomsettings_tool {

// "area (Class)", then one line per value, "KEY (kind) = text" (and "  [SOURCE]"
// when the reading names its origin), and per list
// "KEY: n of at most m", its entries' values and nested lists indented under it.
void PrintArea(std::ostream& out, const AreaReading& reading);

// {"area", "class", "values": [{"key", "kind", "text", "value"}...],
//  "lists": [{"key", "capacity", "count", "entries": [{"key", "values", "lists"}]}]};
// a value that cannot be read has null text and value and an "error"; a value
// whose origin the reading names has it as "origin".
nlohmann::ordered_json AreaToJson(const AreaReading& reading);

}  // namespace dicomsettings_tool

#endif
