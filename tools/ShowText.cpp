// The text form of `show`: one line per value and per list, entries indented.
#include <string>

#include "KeyTreeStore.h"
#include "ShowFormat.h"
#include "WideText.h"

namespace dicomsettings_tool {
namespace {

void PrintValues(std::ostream& out, const std::vector<ValueReading>& values, int indent) {
  for (const ValueReading& value : values) {
    out << std::string(indent, ' ') << ToUtf8(value.key) << " ("
        << DicomAccessLibraryCpp::ValueKindName(value.kind) << ")";
    if (value.result == STORE_E_NOT_FOUND) {
      out << ": not in the file\n";
    } else if (value.result != STORE_OK) {
      out << ": unreadable, " << AccessLibraryBaseCpp::ResultText(value.result) << '\n';
    } else {
      out << " = " << (value.text.empty() ? "(empty)" : OneLine(ToUtf8(value.text)));
      if (!value.origin.empty()) out << "  [" << value.origin << ']';
      out << '\n';
    }
  }
}

void PrintLists(std::ostream& out, const std::vector<ListReading>& lists, int indent) {
  for (const ListReading& list : lists) {
    out << std::string(indent, ' ') << ToUtf8(list.key) << ": " << list.count << " of at most "
        << list.capacity << '\n';
    for (const EntryReading& entry : list.entries) {
      PrintValues(out, entry.values, indent + 2);
      PrintLists(out, entry.lists, indent + 2);
    }
  }
}

}  // namespace

void PrintArea(std::ostream& out, const AreaReading& reading) {
  out << reading.area->area << " (" << reading.area->className << ")\n";
  PrintValues(out, reading.values, 2);
  PrintLists(out, reading.lists, 2);
}

}  // namespace dicomsettings_tool
