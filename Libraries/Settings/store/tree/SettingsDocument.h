// One settings file's tree in memory: parsing with positions of faults, key
// resolution, node creation along a key, counting and serialising.
//
// Keys are resolved through an index of children by name (ChildIndex), so that
// neither resolution nor a count walks siblings, however long a list is, and key
// texts already resolved are found again by one hash look-up (KeyCache). Both
// live with the tree: they follow every node created here, are dropped when
// Parse replaces the tree, and go with it on Swap.
#ifndef DICOMSETTINGS_STORE_TREE_SETTINGSDOCUMENT_H
#define DICOMSETTINGS_STORE_TREE_SETTINGSDOCUMENT_H

#include <memory>
#include <pugixml.hpp>
#include <string>

#include "KeyTreeStore.h"
#include "text/DocumentText.h"
#include "text/ParseBuffer.h"
#include "tree/ChildIndex.h"
#include "tree/KeyCache.h"
#include "tree/ParsedKey.h"

namespace keytreestore {

class SettingsDocument {
 public:
  // Most empty same-named siblings one call may append on the way to an index.
  static constexpr int kMaxAppendedSiblings = 100000;

  SettingsDocument();

  // Parses a whole file. On failure returns STORE_E_PARSE, fills *error (when not
  // null) with line and column, and leaves this document as it was;
  // STORE_E_NO_MEMORY when memory runs out.
  int Parse(const std::string& bytes, StoreParseError* error);
  // The same for bytes read into a parse buffer, whose characters were checked as
  // they were read; the tree takes the buffer over and parses it where it lies
  // (no copy, so no fault position: the parser writes into the buffer; a caller
  // that wants one parses a copy through the overload above).
  int Parse(ParseBuffer bytes, const TextCheck& characters);

  // The node a key text names: STORE_OK with *node set, STORE_E_NOT_FOUND, or
  // what parsing the key gives (STORE_E_BAD_ARGUMENT, STORE_E_TOO_LONG,
  // STORE_E_BAD_KEY).
  int Lookup(const wchar_t* text, pugi::xml_node* node);
  // The node a key text names when that very text was resolved before, without
  // parsing it; a null node otherwise (the caller then parses the key).
  pugi::xml_node Remembered(const wchar_t* text) const;
  // FindOrCreate of a key parsed from text.
  pugi::xml_node FindOrCreate(const ParsedKey& key, const wchar_t* text, bool* refused = nullptr);
  // The node a key names, or a null node.
  pugi::xml_node Find(const ParsedKey& key);
  // The node a key names, creating missing elements (and missing same-named
  // siblings up to an index) along it; a null node when memory runs out, or with
  // *refused set when an index lies maxAppended or more beyond the siblings there
  // are.
  pugi::xml_node FindOrCreate(const ParsedKey& key, bool* refused = nullptr,
                              int maxAppended = kMaxAppendedSiblings) {
    return CreatePath(key, key.size(), refused, maxAppended);
  }

  // The node of the key's first `steps` steps, creating what is missing as
  // FindOrCreate does.
  pugi::xml_node CreatePath(const ParsedKey& key, size_t steps, bool* refused);

  // Number of children named as the key's last step under the node of the steps
  // before it; 0 where that node does not exist.
  int Count(const ParsedKey& key);

  // The index-th child element of parent named as step (null when there is none);
  // *count receives how many parent has.
  pugi::xml_node Child(pugi::xml_node parent, const KeyStep& step, int index, int* count) {
    return index_.Child(parent, {step.name, step.length}, index, count);
  }
  // Appends a deep copy of node (of any tree) as parent's last child: the copy, or
  // a null node when memory runs out.
  pugi::xml_node AppendCopy(pugi::xml_node parent, pugi::xml_node node);
  // Removes node, an element below the document element, with all below it. The
  // later same-named siblings move up one index; every key resolved before is
  // resolved anew.
  void Remove(pugi::xml_node node);

  // Replaces the tree with an empty document element "Settings".
  int MakeEmpty();
  // The document element.
  pugi::xml_node Root() const { return doc_->document_element(); }

  std::string Serialize() const;
  // Makes the XML declaration name encoding (adding a declaration where there is
  // none): false when memory runs out.
  bool DeclareEncoding(const char* encoding);
  void Swap(SettingsDocument& other) noexcept {
    doc_.swap(other.doc_);
    index_.Swap(other.index_);
    keys_.Swap(other.keys_);
  }

 private:
  // Where and what the fault of a refused file is.
  struct Fault {
    size_t offset = 0;
    const char* what = "";
  };
  int ParseInPlace(ParseBuffer bytes, const TextCheck& characters, Fault* fault);
  // The node of the key's first `steps` steps, or a null node.
  pugi::xml_node Resolve(const ParsedKey& key, size_t steps);
  pugi::xml_node CreatePath(const ParsedKey& key, size_t steps, bool* refused, int maxAppended);
  // Removes parent's only child when it is blank text, before elements are added.
  static void DropBlankText(pugi::xml_node parent);
  // Adds a resolved key text to the key cache, when memory allows.
  void Remember(const wchar_t* text, size_t length, pugi::xml_node node) noexcept;

  std::unique_ptr<pugi::xml_document> doc_;
  ChildIndex index_;
  KeyCache keys_;
};

// Reads a node's text into buffer (STORE_VALUE_BUFFER_LENGTH wchar_t): STORE_OK or
// STORE_E_TOO_LONG.
int ReadNodeText(pugi::xml_node node, wchar_t* buffer);

// Fills the line, column and text of *error for a fault at byte offset of bytes.
void DescribeParseFault(const std::string& bytes, size_t offset, const char* what,
                        StoreParseError* error);

}  // namespace keytreestore

#endif
