// The settings vocabulary as data: for every section class its keys in field
// order with their value kinds, and its lists with list key, capacity and the
// element's own table, nested lists likewise. The section classes bind their
// proxies from these tables, and tools walk them to reach every key of a file
// through the classes themselves.
//
// Keys: a section's value key is absolute ("/EchoScu/TaskCount"); a list key in a
// section is absolute ("/EchoScu/Syntax"); an element's field key and nested
// list key are relative, starting with "/" ("/AbstractSyntax"). Node i of a list
// is "<list key>[i]". Each public data member is named after its key's last
// component.
//
// Thread safety: the tables are immutable and may be read from any thread.
#ifndef DICOMSETTINGS_SETTINGSSCHEMA_H
#define DICOMSETTINGS_SETTINGSSCHEMA_H

#include "AccessLibraryBaseCpp.h"
#include "DicomSettingsExport.h"

namespace DicomAccessLibraryCpp {

class ElementCore;
struct ElementSchema;

enum class ValueKind { Integer, FloatingPoint, Boolean, String };

// "integer", "floating-point", "boolean" or "string".
DICOMSETTINGS_API const char* ValueKindName(ValueKind kind);

// One value of a section or element: its key, its kind, and how to reach its
// proxy in an object (see SectionValue and ElementValue).
struct ValueField {
  const wchar_t* key;
  ValueKind kind;
  AccessLibraryBaseCpp::ProxyCore& (*proxy)(void* owner);
};

// One list of a section or element: its key, its capacity (the array length and
// the counter's clamp), its element's table, and how to reach element i.
struct ListField {
  const wchar_t* key;
  int capacity;
  const ElementSchema& (*element)();
  ElementCore& (*at)(void* owner, int index);
};

struct ElementSchema {
  const char* className;
  const ValueField* values;
  int valueCount;
  const ListField* lists;
  int listCount;
};

struct SectionSchema {
  const char* area;       // short name of the settings area, e.g. "echo"
  const char* className;  // e.g. "CEchoScuSetting"
  const ValueField* values;
  int valueCount;
  const ListField* lists;
  int listCount;
  // A new section object of this class on path (delete it with destroy).
  AccessLibraryBaseCpp::CAccessLibraryBaseCpp* (*create)(const wchar_t* path);
  void (*destroy)(AccessLibraryBaseCpp::CAccessLibraryBaseCpp* section);
  // Section assignment: copies every value of from's file into to's file.
  void (*assign)(AccessLibraryBaseCpp::CAccessLibraryBaseCpp& to,
                 AccessLibraryBaseCpp::CAccessLibraryBaseCpp& from);
};

// Every section class's table, in a fixed order; *count receives their number.
DICOMSETTINGS_API const SectionSchema* const* AllSections(int* count);
// The table of the named area, or null.
DICOMSETTINGS_API const SectionSchema* FindSection(const char* area);

// Typed access to an object's proxies and elements through its tables.
inline AccessLibraryBaseCpp::ProxyCore& SectionValue(
    AccessLibraryBaseCpp::CAccessLibraryBaseCpp& section, const ValueField& field) {
  return field.proxy(&section);
}
DICOMSETTINGS_API ElementCore& SectionElement(AccessLibraryBaseCpp::CAccessLibraryBaseCpp& section,
                                              const ListField& list, int index);
DICOMSETTINGS_API AccessLibraryBaseCpp::ProxyCore& ElementValue(ElementCore& element,
                                                                const ValueField& field);
DICOMSETTINGS_API ElementCore& NestedElement(ElementCore& element, const ListField& list,
                                             int index);

}  // namespace DicomAccessLibraryCpp

#endif
