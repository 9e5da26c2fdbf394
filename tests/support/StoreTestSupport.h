// Helpers shared by the store's test programs: reading values back as text, a
// scoped open of a settings file, a second path text for the same file, and
// listing what lies beside a settings file.
#ifndef DICOMSETTINGS_TESTS_STORETESTSUPPORT_H
#define DICOMSETTINGS_TESTS_STORETESTSUPPORT_H

#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "KeyTreeStore.h"
#include "TempDir.h"

// What StoreGetValue gave for a key: its result and, on success, the text.
struct StoreRead {
  int result;
  std::wstring text;
  bool operator==(const StoreRead& other) const {
    return result == other.result && text == other.text;
  }
};

inline StoreRead ReadValue(const std::wstring& path, const wchar_t* key) {
  wchar_t buffer[STORE_VALUE_BUFFER_LENGTH] = L"";
  const int result = StoreGetValue(buffer, path.c_str(), key);
  return {result, result == STORE_OK ? std::wstring(buffer) : std::wstring()};
}

// What StoreLastFailure says of path: the text of its last failure on this thread.
inline std::string LastFailure(const std::wstring& path) {
  StoreFailure failure{};
  StoreLastFailure(path.c_str(), &failure);
  return failure.text;
}

// The history StoreReadHistory gives for path; null when it gives none.
inline nlohmann::json HistoryOf(const std::wstring& path) {
  size_t length = 0;
  if (StoreReadHistory(path.c_str(), nullptr, 0, &length) != STORE_E_TOO_LONG) return nullptr;
  std::string text(length + 1, '\0');
  if (StoreReadHistory(path.c_str(), text.data(), text.size(), &length) != STORE_OK) return nullptr;
  text.resize(length);
  return nlohmann::json::parse(text);
}

inline int UpdateCheck(const std::wstring& path) {
  int updated = -1;
  const int result = StoreDataUpdateCheck(&updated, path.c_str());
  return result == STORE_OK ? updated : -1000 - result;
}

// Another path text naming the same file ("dir/./name"): the store keeps a tree of
// its own for it, as another process would.
inline std::wstring OtherPathText(const std::wstring& path) {
  const size_t slash = path.rfind(L'/');
  return path.substr(0, slash) + L"/." + path.substr(slash);
}

// One open of a settings file for the life of the object.
class OpenedFile {
 public:
  explicit OpenedFile(std::wstring path)
      : path_(std::move(path)), result_(StoreOpen(path_.c_str(), 1)) {}
  ~OpenedFile() {
    if (result_ == STORE_OK) StoreClose(path_.c_str(), 1);
  }
  OpenedFile(const OpenedFile&) = delete;
  OpenedFile& operator=(const OpenedFile&) = delete;

  int result() const { return result_; }
  const std::wstring& path() const { return path_; }
  StoreRead Read(const wchar_t* key) const { return ReadValue(path_, key); }
  int Set(const wchar_t* key, const std::wstring& value) const {
    return StoreSetValue(path_.c_str(), key, value.c_str());
  }
  int Save() const { return StoreSave(path_.c_str()); }

 private:
  std::wstring path_;
  int result_;
};

// What a fresh process reading the file from disk would get for key (through a
// path text of its own, "dir/.//name", that no test opens otherwise).
inline StoreRead ReadFromDisk(const std::wstring& path, const wchar_t* key) {
  const size_t slash = path.rfind(L'/');
  OpenedFile other(path.substr(0, slash) + L"/./" + path.substr(slash));
  if (other.result() != STORE_OK) return {other.result(), L""};
  return other.Read(key);
}

// The names in a directory, sorted, without "." and "..".
inline std::vector<std::string> DirectoryEntries(const std::string& directory) {
  std::vector<std::string> names;
  if (DIR* dir = opendir(directory.c_str())) {
    while (const dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Puts a new version of a file in place the way another writer would: a new file
// renamed over the old one.
inline void ReplaceOnDisk(const std::string& path, const std::string& text) {
  WriteTextFile(path + ".new", text);
  std::rename((path + ".new").c_str(), path.c_str());
}

#endif
