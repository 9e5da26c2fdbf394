// Every value a section or list element addresses, reached through the library's
// own key tables, and a plain-text form of those tables (compared with keys.txt).
#ifndef DICOMSETTINGS_TESTS_SCHEMALEAVES_H
#define DICOMSETTINGS_TESTS_SCHEMALEAVES_H

#include <string>
#include <vector>

#include "DicomSettings.h"

// One value an object addresses: its full key, its kind and its proxy.
struct Leaf {
  std::wstring key;
  DicomAccessLibraryCpp::ValueKind kind;
  AccessLibraryBaseCpp::ProxyCore* proxy;
};

// Every value in field order (the order of binding and of assignment): the
// object's own values, then each list's elements in index order, each element's
// values before its nested lists. nodeKey is an element's node key.
std::vector<Leaf> SectionLeaves(AccessLibraryBaseCpp::CAccessLibraryBaseCpp& section,
                                const DicomAccessLibraryCpp::SectionSchema& schema);
std::vector<Leaf> ElementLeaves(DicomAccessLibraryCpp::ElementCore& element,
                                const DicomAccessLibraryCpp::ElementSchema& schema,
                                const std::wstring& nodeKey);

// Reads every leaf's stored text through its proxy (for tests that record the
// store calls a read makes).
void ReadEach(const std::vector<Leaf>& leaves);

// The table as text: a line "Class area", then one line per value "key kind" and
// per list "key[capacity] ElementClass", an element's rows indented below it.
std::string DescribeSection(const DicomAccessLibraryCpp::SectionSchema& schema);

#endif
