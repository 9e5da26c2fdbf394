// What both store fuzzers share: one scratch settings file in a private directory,
// a file system that skips fsync (durability is not under test here, speed is), and
// a value read that checks nothing is written past the 512-wchar_t buffer.
#ifndef DICOMSETTINGS_FUZZ_FUZZFILE_H
#define DICOMSETTINGS_FUZZ_FUZZFILE_H

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "KeyTreeStore.h"
#include "file/FileSystem.h"

class NoSyncFileSystem : public keytreestore::FileSystem {
 public:
  int Fsync(int) override { return 0; }
  int FsyncDirectory(int) override { return 0; }
};

class FuzzFile {
 public:
  FuzzFile() : use_(fs_) {
    char pattern[] = "/tmp/store-fuzz-XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    directory_ = pattern;
    name_ = directory_ + "/settings.xml";
    path_.assign(name_.begin(), name_.end());
  }
  ~FuzzFile() {
    std::remove(name_.c_str());
    std::remove((name_ + ".lock").c_str());
    rmdir(directory_.c_str());
  }

  const std::wstring& path() const { return path_; }
  const wchar_t* c_path() const { return path_.c_str(); }

  void Write(const void* data, size_t size) const {
    FILE* out = std::fopen(name_.c_str(), "wb");
    if (out == nullptr) std::abort();
    if (size != 0 && std::fwrite(data, 1, size, out) != size) std::abort();
    std::fclose(out);
  }

 private:
  NoSyncFileSystem fs_;
  keytreestore::ScopedFileSystem use_;
  std::string directory_;
  std::string name_;
  std::wstring path_;
};

// StoreGetValue into a buffer with a guard region after its 512 wchar_t; aborts if
// the guard was written or a successful read is not terminated within the buffer.
inline int GuardedGet(const wchar_t* path, const wchar_t* key, std::wstring* text) {
  constexpr wchar_t kGuard = 0x5A5A5A;
  wchar_t memory[STORE_VALUE_BUFFER_LENGTH + 32];
  for (wchar_t& c : memory) c = kGuard;
  const int result = StoreGetValue(memory, path, key);
  for (size_t i = STORE_VALUE_BUFFER_LENGTH; i < std::size(memory); ++i) {
    if (memory[i] != kGuard) std::abort();
  }
  if (result == STORE_OK) {
    if (wcsnlen(memory, STORE_VALUE_BUFFER_LENGTH) == STORE_VALUE_BUFFER_LENGTH) std::abort();
    if (text != nullptr) *text = memory;
  }
  return result;
}

#endif
