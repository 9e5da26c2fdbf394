// The versions the crash test's writer saves: every key of version N holds N and
// the same padding, so that a file mixing two versions is told from a whole one.
#ifndef DICOMSETTINGS_TESTS_VERSIONEDFILE_H
#define DICOMSETTINGS_TESTS_VERSIONEDFILE_H

#include <cwchar>
#include <string>

#include "KeyTreeStore.h"

constexpr int kVersionKeys = 48;

inline std::wstring VersionKey(int i) {
  return L"/Versions/Key" + std::to_wstring(i);
}

// Sets every key of an open file to version; false if the store refused.
inline bool SetVersion(const std::wstring& path, long version) {
  const std::wstring value = std::to_wstring(version) + L":" + std::wstring(300, L'p');
  for (int i = 0; i < kVersionKeys; ++i) {
    if (StoreSetValue(path.c_str(), VersionKey(i).c_str(), value.c_str()) != STORE_OK) return false;
  }
  return true;
}

// The version an open file holds: -1 when its keys disagree or are missing or
// malformed, -2 when it holds no version at all.
inline long VersionOf(const std::wstring& path) {
  long version = -2;
  for (int i = 0; i < kVersionKeys; ++i) {
    wchar_t buffer[STORE_VALUE_BUFFER_LENGTH];
    const int result = StoreGetValue(buffer, path.c_str(), VersionKey(i).c_str());
    if (result == STORE_E_NOT_FOUND && version == -2 && i == 0) return -2;
    if (result != STORE_OK) return -1;
    wchar_t* end = nullptr;
    const long found = std::wcstol(buffer, &end, 10);
    if (*end != L':' || std::wstring(end + 1) != std::wstring(300, L'p')) return -1;
    if (i > 0 && found != version) return -1;
    version = found;
  }
  return version;
}

#endif
