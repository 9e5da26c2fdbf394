// The store's one piece of global state: the table of open settings files, keyed
// by path text, with an open count per path. Guarded for threads.
#ifndef DICOMSETTINGS_STORE_OPENFILETABLE_H
#define DICOMSETTINGS_STORE_OPENFILETABLE_H

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "DurableFile.h"
#include "SettingsDocument.h"

namespace keytreestore {

// One open settings file. Everything but `opens` is guarded by `mutex`.
struct OpenFile {
  std::wstring pathText;  // the text callers name it by
  std::string diskPath;   // the same path in UTF-8
  int opens = 0;          // guarded by the table's mutex
  std::mutex mutex;
  SettingsDocument document;
  FileIdentity identity;  // the version on disk last loaded or saved
  // Values set since the last load or save, by the node of this tree they were
  // set on, with the key text they were set under: what a save re-applies on top
  // of a file another process saved in the meantime. Cleared whenever the tree
  // is replaced, so that no record outlives its node.
  std::unordered_map<const pugi::xml_node_struct*, std::pair<std::wstring, std::string>> changes;
};

class OpenFileTable {
 public:
  static OpenFileTable& Instance();

  int Open(const wchar_t* path);
  int Close(const wchar_t* path);
  // The open file a path text names, or null.
  std::shared_ptr<OpenFile> Find(const wchar_t* path);

 private:
  std::mutex mutex_;
  std::unordered_map<std::wstring_view, std::shared_ptr<OpenFile>> files_;
};

// Checks a path text and gives its UTF-8 form: STORE_OK, STORE_E_BAD_ARGUMENT or
// STORE_E_TOO_LONG.
int PathToDisk(const wchar_t* path, std::string* disk);

// Reads and parses the file at f.diskPath into f (document and identity).
int LoadFromDisk(OpenFile& f, StoreParseError* error);

// Saves f under its save lock, merging a version another process saved since.
int SaveToDisk(OpenFile& f);

}  // namespace keytreestore

#endif
