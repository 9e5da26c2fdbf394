// Key access through pugixml and Boost.PropertyTree, without the store.
#include "PeerAccess.h"

#include <boost/property_tree/xml_parser.hpp>

namespace bench {

pugi::xml_node WalkToNode(const pugi::xml_document& document, const std::vector<KeyStep>& steps) {
  pugi::xml_node node = document.document_element();
  for (const KeyStep& step : steps) {
    node = node.child(step.name.c_str());
    for (int i = 0; i < step.index && node; ++i) node = node.next_sibling(step.name.c_str());
  }
  return node;
}

std::string XPathOf(const std::string& root, const std::vector<KeyStep>& steps) {
  std::string path = "/" + root;
  for (const KeyStep& step : steps) {
    path += "/" + step.name + "[" + std::to_string(step.index + 1) + "]";
  }
  return path;
}

std::string PropertyTreeValue(const boost::property_tree::ptree& document,
                              const std::vector<KeyStep>& steps) {
  const boost::property_tree::ptree* node = &document.front().second;
  for (const KeyStep& step : steps) {
    auto range = node->equal_range(step.name);
    for (int i = 0; i < step.index && range.first != range.second; ++i) ++range.first;
    if (range.first == range.second) return std::string();
    node = &range.first->second;
  }
  return node->get_value<std::string>();
}

boost::property_tree::ptree ReadPropertyTree(const std::string& path) {
  boost::property_tree::ptree tree;
  boost::property_tree::read_xml(path, tree, boost::property_tree::xml_parser::trim_whitespace);
  return tree;
}

int CountChildren(pugi::xml_node parent, const char* name) {
  int count = 0;
  for (pugi::xml_node child = parent.child(name); child; child = child.next_sibling(name)) ++count;
  return count;
}

}  // namespace bench
