// The text form of one top-level area of a settings tree, as kept in one etcd
// key: one line per element value in document order, "Key=value", the key
// relative to the area with an index where it is above 0:
//
//   TaskCount=1
//   Syntax/AbstractSyntax=1.2.840.10008.1.1
//   Syntax/TransferSyntax/SyntaxValue=1.2.840.10008.1.2
//   Syntax[1]/AbstractSyntax=1.2.840.10008.5.1.4.1.1.7
//
// An element without child elements always has its line ("Name=" when empty);
// one with child elements has a line of its own only for a text that is not
// blank; the area's own text has the empty key ("=text"). In values "\" is
// written "\\" and a line feed "\n". Comments and attributes are not kept.
#ifndef DICOMSETTINGS_STORE_ETCD_AREATEXT_H
#define DICOMSETTINGS_STORE_ETCD_AREATEXT_H

#include <pugixml.hpp>
#include <string>
#include <utility>
#include <vector>

#include "tree/SettingsDocument.h"
#include "tree/SiblingNames.h"

namespace keytreestore {

// The lines of area (an element below the document element).
std::string AreaText(pugi::xml_node area);

// Adds the area named area ("EchoScu", "EchoScu[1]") with the lines of text to
// document. Areas and lines name elements in order: an index may be at most one
// beyond the same-named elements already there. STORE_OK; STORE_E_PARSE with
// *fault saying what is wrong (a malformed line, key, escape or value, or an
// index out of order); STORE_E_NO_MEMORY.
int AddArea(SettingsDocument& document, const std::string& area, const std::string& text,
            std::string* fault);

// The index an area name carries ("EchoScu[3]": 3), 0 without one.
long AreaIndex(const std::string& area);

}  // namespace keytreestore

#endif
