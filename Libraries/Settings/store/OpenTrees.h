// The store's one piece of global state: the table of open settings trees, keyed
// by path text, with an open count per path. Guarded for threads.
#ifndef DICOMSETTINGS_STORE_OPENTREES_H
#define DICOMSETTINGS_STORE_OPENTREES_H

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "Backing.h"
#include "TreeWatch.h"
#include "tree/KeyCache.h"
#include "tree/PendingChanges.h"
#include "tree/SettingsDocument.h"

namespace keytreestore {

// Settings that an open tree extends, directly or through others: read, counted
// and checked for changes with it, never written through it.
struct Source {
  std::string path;  // as the link names it, a relative file path made the child's
  SettingsDocument document;
  std::unique_ptr<Backing> backing;
};

// One open settings tree. Everything but `opens` is guarded by `mutex`.
struct OpenTree {
  std::wstring pathText;  // the text callers name it by
  std::string diskPath;   // the same, UTF-8
  int opens = 0;          // guarded by the table's mutex
  std::mutex mutex;
  SettingsDocument document;
  std::unique_ptr<Backing> backing;  // where the tree is kept
  // Values set since the last load or save: what a save re-applies on top of a
  // version another process saved in the meantime.
  PendingChanges changes;
  // The sources the tree extends, nearest first; empty for settings that stand
  // alone.
  std::vector<std::unique_ptr<Source>> parents;
  // The reason recorded with its saves, when the caller gave one.
  std::optional<std::string> reason;
  // Key texts resolved over the tree and its sources (only while it has any):
  // dropped whenever a node is created in the tree or any of them is read again.
  KeyCache chainKeys;
  // The change notification the caller asked for, if any. Last, so that its
  // thread is stopped before anything it looks at goes.
  std::shared_ptr<TreeWatch> watch;
};

class OpenTreeTable {
 public:
  static OpenTreeTable& Instance();

  int Open(const wchar_t* path);
  // Opens a path as an empty tree (Backing::Create): where nothing is kept yet, or
  // with over also where settings are kept, which the first save then replaces.
  // With a parent (not null), the tree extends the settings kept there.
  int Create(const wchar_t* path, bool over, const wchar_t* parent = nullptr);
  int Close(const wchar_t* path);
  // The open tree a path text names, or null.
  std::shared_ptr<OpenTree> Find(const wchar_t* path);

 private:
  // Open or Create: makes the tree of a path not yet open by make.
  template <class Make>
  int Add(const wchar_t* path, bool countExisting, Make make);

  std::mutex mutex_;
  std::unordered_map<std::wstring_view, std::shared_ptr<OpenTree>> trees_;
};

// Checks a path text and gives its UTF-8 form: STORE_OK, STORE_E_BAD_ARGUMENT or
// STORE_E_TOO_LONG.
int PathToDisk(const wchar_t* path, std::string* disk);

// Reads f's kept settings into its tree, and those of every source it extends,
// through backings made anew, dropping the record of changes. All or nothing: on
// failure f is as it was.
int LoadTree(OpenTree& f, StoreParseError* error);

// Saves f's tree through its backing and, on success, drops the record of changes.
int SaveTree(OpenTree& f);

}  // namespace keytreestore

#endif
