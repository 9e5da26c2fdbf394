// The same key reads and writes done with the usual XML libraries directly, as the
// measure the store is compared with: a pugixml DOM walk from the document element
// (child by name, then skipping to the i-th same-named sibling), a pugixml XPath
// query, and Boost.PropertyTree.
#ifndef DICOMSETTINGS_BENCH_PEERACCESS_H
#define DICOMSETTINGS_BENCH_PEERACCESS_H

#include <boost/property_tree/ptree.hpp>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "FixtureFiles.h"

namespace bench {

// The node a key names, found by walking from the document element.
pugi::xml_node WalkToNode(const pugi::xml_document& document, const std::vector<KeyStep>& steps);

// The XPath text of a key below a document element of the given name (indices from 1).
std::string XPathOf(const std::string& root, const std::vector<KeyStep>& steps);

// The value a key names in a property tree read from a settings file, found by
// taking the index-th child of each step's name; empty when there is none.
std::string PropertyTreeValue(const boost::property_tree::ptree& document,
                              const std::vector<KeyStep>& steps);

// A settings file read into a property tree.
boost::property_tree::ptree ReadPropertyTree(const std::string& path);

// Number of children of parent named name.
int CountChildren(pugi::xml_node parent, const char* name);

}  // namespace bench

#endif
