// One settings file's tree in memory: parsing with positions of faults, key
// resolution, node creation along a key, counting and serialising.
#ifndef DICOMSETTINGS_STORE_SETTINGSDOCUMENT_H
#define DICOMSETTINGS_STORE_SETTINGSDOCUMENT_H

#include <memory>
#include <pugixml.hpp>
#include <string>

#include "KeyPath.h"
#include "KeyTreeStore.h"

namespace keytreestore {

class SettingsDocument {
 public:
  SettingsDocument();

  // Parses a whole file. On failure returns STORE_E_PARSE, fills *error (when not
  // null) with line and column, and leaves this document as it was.
  int Parse(const std::string& bytes, StoreParseError* error);

  // The node a key names, or a null node.
  pugi::xml_node Find(const ParsedKey& key) const;
  // The node a key names, creating missing elements (and missing same-named
  // siblings up to an index) along it.
  pugi::xml_node FindOrCreate(const ParsedKey& key);
  // Number of children named as the key's last step under the node of the steps
  // before it; 0 where that node does not exist.
  int Count(const ParsedKey& key) const;

  std::string Serialize() const;
  void Swap(SettingsDocument& other) { doc_.swap(other.doc_); }

 private:
  std::unique_ptr<pugi::xml_document> doc_;
};

// Reads a node's text into buffer (STORE_VALUE_BUFFER_LENGTH wchar_t): STORE_OK or
// STORE_E_TOO_LONG.
int ReadNodeText(pugi::xml_node node, wchar_t* buffer);

// Fills the line, column and text of *error for a fault at byte offset of bytes.
void DescribeParseFault(const std::string& bytes, size_t offset, const char* what,
                        StoreParseError* error);

}  // namespace keytreestore

#endif
