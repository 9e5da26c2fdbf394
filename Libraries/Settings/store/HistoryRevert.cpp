// Undoing the records of a history, newest first.
#include "HistoryRevert.h"

#include <algorithm>
#include <memory>

#include "SourceChain.h"
#include "text/Printable.h"
#include "text/Utf8.h"
#include "util/FailureNote.h"

namespace keytreestore {
namespace {

// One change to undo: the key, its text and parsed form, and the old text.
struct Undo {
  std::wstring text;
  std::unique_ptr<ParsedKey> key;
  const ValueChange* change;
};

// The key of a record as the store's key: false when it is none.
bool ParseRecordKey(const std::string& key, std::wstring* text, ParsedKey* parsed) {
  std::vector<wchar_t> wide(key.size() + 1);
  const long length = Utf8ToWide(key.data(), key.size(), wide.data(), wide.size());
  if (length < 0) return false;
  text->assign(wide.data(), static_cast<size_t>(length));
  return parsed->Parse(text->c_str()) == STORE_OK;
}

// The key of the element that holds the last step of text; empty for an area.
std::wstring ParentOf(const std::wstring& text) {
  const size_t slash = text.rfind(L'/');
  return slash == 0 || slash == std::wstring::npos ? std::wstring() : text.substr(0, slash);
}

// Removes what key names from f's own tree and then every element above it left
// holding no element, the area included.
void RemoveWithEmptyParents(OpenTree& f, std::wstring text) {
  for (bool named = true; !text.empty(); text = ParentOf(text), named = false) {
    ParsedKey key;
    pugi::xml_node node;
    if (key.Parse(text.c_str()) != STORE_OK || !(node = f.document.Find(key))) return;
    const bool holds = static_cast<bool>(
        node.find_child([](pugi::xml_node child) { return child.type() == pugi::node_element; }));
    if ((!named && holds) || RemoveNode(f, key, text.c_str()) != STORE_OK) return;
  }
}

}  // namespace

int RevertTo(OpenTree& f, long long id) {
  History history;
  const int read = f.backing->ReadHistory(&history);
  if (read != STORE_OK) return read;
  const auto& entries = history.entries;
  const auto found = std::find_if(entries.begin(), entries.end(),
                                  [&](const HistoryEntry& entry) { return entry.record.id == id; });
  if (found == entries.end()) {
    if (!entries.empty() && id > 0 && id < entries.front().record.id) {
      NoteFailure("record %lld was dropped from the history (the oldest kept is %lld)", id,
                  entries.front().record.id);
    } else {
      NoteFailure("the history holds no record %lld", id);
    }
    return STORE_E_NOT_FOUND;
  }
  // Every key is checked before anything changes.
  std::vector<std::vector<Undo>> records;
  for (auto entry = entries.rbegin(); entry.base() != found + 1; ++entry) {
    if (!entry->saved) continue;
    records.emplace_back();
    for (const ValueChange& change : entry->record.changes) {
      Undo undo{std::wstring(), std::make_unique<ParsedKey>(), &change};
      if (!ParseRecordKey(change.key, &undo.text, undo.key.get())) {
        NoteFailure("record %lld: the key %s names no node here", entry->record.id,
                    Printable(change.key).c_str());
        return STORE_E_NOT_FOUND;
      }
      records.back().push_back(std::move(undo));
    }
  }
  for (const std::vector<Undo>& undos : records) {
    // Keys created go first, the later first, so that a removal moves up no
    // sibling that a key still to come names; then the old texts, in order.
    for (auto undo = undos.rbegin(); undo != undos.rend(); ++undo) {
      if (!undo->change->old) RemoveWithEmptyParents(f, undo->text);
    }
    for (const Undo& undo : undos) {
      if (!undo.change->old) continue;
      const std::string& old = *undo.change->old;
      bool refused = false;
      pugi::xml_node node = WritableNode(f, *undo.key, undo.text.c_str(), &refused);
      if (refused) return STORE_E_BAD_KEY;
      if (!node || !node.text().set(old.c_str())) return STORE_E_NO_MEMORY;
      f.changes.Set(node, undo.text.c_str(), old.data(), old.size());
    }
  }
  return STORE_OK;
}

}  // namespace keytreestore
