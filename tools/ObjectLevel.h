// One level of the library's key tables together with the object it describes:
// a section object with its table, or a list element with its element's table.
// Through it the tool reaches values' proxies, counts lists and steps into list
// entries the same way at every depth.
#ifndef DICOMSETTINGS_TOOLS_OBJECTLEVEL_H
#define DICOMSETTINGS_TOOLS_OBJECTLEVEL_H

#include <string>

#include "SectionFramework.h"
#include "Vocabulary.h"

namespace dicomsettings_tool {

class ObjectLevel {
 public:
  // A section object of area on path (the same path text the object was made with).
  ObjectLevel(AccessLibraryBaseCpp::CAccessLibraryBaseCpp& section, const SectionSchema& area,
              const wchar_t* path);
  // A list element described by schema.
  ObjectLevel(DicomAccessLibraryCpp::ElementCore& element, const ElementSchema& schema);

  const ValueField* values;
  int valueCount;
  const ListField* lists;
  int listCount;

  // The proxy of one of this level's values.
  AccessLibraryBaseCpp::ProxyCore& Proxy(const ValueField& value) const;
  // The library's count of one of this level's lists, clamped to its capacity.
  int Count(const ListField& list) const;
  // Entry index (below the list's capacity) of one of this level's lists.
  ObjectLevel Entry(const ListField& list, int index) const;
  // The element's node key ("/EchoScu/Syntax[0]"), or "" for a section.
  std::wstring NodeKey() const;

 private:
  AccessLibraryBaseCpp::CAccessLibraryBaseCpp* section_ = nullptr;
  DicomAccessLibraryCpp::ElementCore* element_ = nullptr;
  const wchar_t* path_ = nullptr;
};

}  // namespace dicomsettings_tool

#endif
