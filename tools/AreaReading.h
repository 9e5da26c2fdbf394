// One settings area as read through its section object: every value with its
// kind, and every list up to the library's count of it, nested lists under
// their entry.
#ifndef DICOMSETTINGS_TOOLS_AREAREADING_H
#define DICOMSETTINGS_TOOLS_AREAREADING_H

#include <string>
#include <vector>

#include "SettingsFile.h"

namespace dicomsettings_tool {

using DicomAccessLibraryCpp::ValueKind;

struct ValueReading {
  std::wstring key;
  ValueKind kind;
  int result;          // the store's result of reading the text
  std::wstring text;   // the stored text when result is STORE_OK
  double value;        // the value as the library's proxy of its kind converts it
  std::string origin;  // the source that holds it, when asked for (AddOrigins)
};

struct ListReading;

struct EntryReading {
  std::wstring key;  // the entry's node key, "/EchoScu/Syntax[0]"
  std::vector<ValueReading> values;
  std::vector<ListReading> lists;
};

struct ListReading {
  std::wstring key;
  int capacity;
  int count;  // the library's count, at most capacity
  std::vector<EntryReading> entries;
};

struct AreaReading {
  const SectionSchema* area;
  std::vector<ValueReading> values;
  std::vector<ListReading> lists;
};

// Calls fn on every value of values and of the entries of lists, in table order.
template <class Fn>
void ForEachValue(std::vector<ValueReading>& values, std::vector<ListReading>& lists, Fn& fn) {
  for (ValueReading& value : values) fn(value);
  for (ListReading& list : lists) {
    for (EntryReading& entry : list.entries) ForEachValue(entry.values, entry.lists, fn);
  }
}
template <class Fn>
void ForEachValue(AreaReading& reading, Fn fn) {
  ForEachValue(reading.values, reading.lists, fn);
}

// Reads area from file; false when its section object cannot be opened.
bool ReadArea(SettingsFile& file, const SectionSchema& area, AreaReading* reading);

// Names, beside each value read, the source of file that holds it.
void AddOrigins(const SettingsFile& file, AreaReading* reading);

}  // namespace dicomsettings_tool

#endif
