// Character-level rules for the text of a settings file beyond what the XML
// parser enforces, so that every file the store accepts saves into a file it
// accepts again, with the same values.
#ifndef DICOMSETTINGS_STORE_DOCUMENTTEXT_H
#define DICOMSETTINGS_STORE_DOCUMENTTEXT_H

#include <cstddef>
#include <pugixml.hpp>
#include <string>

namespace keytreestore {

// Offset of the first character XML 1.0 cannot hold, raw (a control character,
// U+FFFE, U+FFFF) or as a character reference ("&#1;", "&#xD800;"), or
// bytes.size() when there is none. The parser would take either, and the save
// would write a file that no longer parses.
size_t FindUnholdableCharacter(const std::string& bytes);

// Walks the tree once: turns every carriage return in the text of elements into a
// line feed, as XML does with the line ends of the file itself (a "&#13;" would
// otherwise be saved raw and read back as a line feed), and returns the first
// node nested more than depthLimit levels below root, or a null node.
pugi::xml_node NormalizeTree(pugi::xml_node root, size_t depthLimit);

}  // namespace keytreestore

#endif
