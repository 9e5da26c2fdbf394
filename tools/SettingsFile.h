// One settings file opened for a command through the library's section
// objects: one open object per area used, all sharing the store's one tree of
// the file, closed (and unsaved changes dropped) when the SettingsFile goes.
#ifndef DICOMSETTINGS_TOOLS_SETTINGSFILE_H
#define DICOMSETTINGS_TOOLS_SETTINGSFILE_H

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "AccessLibraryBaseCpp.h"
#include "KeyTreeStore.h"
#include "ObjectLevel.h"
#include "Vocabulary.h"

namespace dicomsettings_tool {

using AccessLibraryBaseCpp::CAccessLibraryBaseCpp;

// "line 3, column 7: <text>" for a parse fault, or the text alone without a position.
std::string DescribeParseError(const StoreParseError& error);

class SettingsFile;

// What the store says went wrong in the last call on path that failed.
std::string FailureText(const std::wstring& path);

// A text the store gives into a buffer of the caller's size: fetch(buffer,
// capacity, &length) is called once for the length (STORE_E_TOO_LONG) and again
// into a buffer that holds it. False when the store gives no text.
bool FetchText(const std::function<int(char*, size_t, size_t*)>& fetch, std::string* bytes);

// The text of the tree open at path, as a save to a file would write it; false
// when the store cannot give it.
bool ExportText(const std::wstring& path, std::string* bytes);

// The path of the source at depth in the chain open at path (StoreGetSource);
// empty beyond the last.
std::string SourcePath(const wchar_t* path, int depth);

// What to add to the store's failure text of an open of name that gave result:
// the nearest etcd path for a scheme mistyped, the init command where nothing is
// kept; empty otherwise.
std::string PathHint(const std::string& name, int result);

// Opens file; on failure reports why (Diagnostics.h) and gives the exit code,
// else 0.
int OpenOrReport(SettingsFile& file);

class SettingsFile {
 public:
  // name: the path as given on the command line (UTF-8).
  explicit SettingsFile(std::string name);
  SettingsFile(const SettingsFile&) = delete;
  SettingsFile& operator=(const SettingsFile&) = delete;

  // Opens the file; false with *why (with line and column for a file that does
  // not parse) when it cannot be opened. Settings read from the local copy of an
  // etcd prefix, because the cluster did not answer, are said so on standard
  // error.
  bool Open(std::string* why);

  // The open section object of area on this file; null when it cannot be opened.
  CAccessLibraryBaseCpp* Section(const SectionSchema& area);
  // The same object as the top level of area's tables; none when it cannot be opened.
  std::optional<ObjectLevel> Level(const SectionSchema& area);

  // Saves every change made through this file's sections in one crash-safe save;
  // false with *why when that fails.
  bool Save(std::string* why);

  // The path of the source that holds key's node: the file's own name when it
  // does, else that of a source it extends (the store's path for it); empty when
  // none holds it.
  std::string Origin(const std::wstring& key) const;

  const std::string& Name() const { return name_; }
  const wchar_t* Path() const { return path_.c_str(); }

 private:
  struct Closer {
    const SectionSchema* area;
    void operator()(CAccessLibraryBaseCpp* section) const { area->destroy(section); }
  };
  using SectionPtr = std::unique_ptr<CAccessLibraryBaseCpp, Closer>;

  // A new object of area on this file, opened: the store's result in *result.
  SectionPtr OpenSection(const SectionSchema& area, int* result);

  std::string name_;
  std::wstring path_;
  std::map<const SectionSchema*, SectionPtr> sections_;
};

}  // namespace dicomsettings_tool

#endif
