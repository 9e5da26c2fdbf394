// A file system for tests that loses power at a chosen step of a save: that call
// and every later one fail, and PowerLoss::Restore then leaves the folder as a
// machine coming back up would find it, every write and every folder change not
// made durable by fsync dropped. A file's data is durable from the fsync of its
// descriptor; a folder's names from the fsync of the folder (a file that was never
// synced comes back empty).
#ifndef DICOMSETTINGS_TESTS_POWERLOSSFILESYSTEM_H
#define DICOMSETTINGS_TESTS_POWERLOSSFILESYSTEM_H

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <string>

#include "TempDir.h"
#include "file/FileSystem.h"

class PowerLossFileSystem : public keytreestore::FileSystem {
 public:
  // folder: the one folder whose files are modelled; lost at the step-th call (from 1).
  PowerLossFileSystem(std::string folder, int step) : folder_(std::move(folder)), step_(step) {
    synced_ = Names();
    for (const auto& name : synced_) data_[name.second] = ReadTextFile(folder_ + "/" + name.first);
  }
  bool lost() const { return calls_ >= step_; }

  // Puts the folder in the state the durable steps left.
  void Restore() {
    for (const auto& name : Names()) unlink((folder_ + "/" + name.first).c_str());
    for (const auto& name : synced_) {
      const auto data = data_.find(name.second);
      WriteTextFile(folder_ + "/" + name.first, data == data_.end() ? "" : data->second);
    }
  }

  int Open(const char* path, int flags, mode_t mode) override {
    if (Off()) return -1;
    struct stat info;
    const bool existed = ::stat(path, &info) == 0;
    const int fd = FileSystem::Open(path, flags, mode);
    if (fd >= 0 && !existed && ::fstat(fd, &info) == 0) data_.erase(info.st_ino);  // a new inode
    return fd;
  }
  ssize_t Read(int fd, void* buffer, size_t size) override {
    return Off() ? -1 : FileSystem::Read(fd, buffer, size);
  }
  ssize_t Pread(int fd, void* buffer, size_t size, off_t offset) override {
    return Off() ? -1 : FileSystem::Pread(fd, buffer, size, offset);
  }
  ssize_t Write(int fd, const void* buffer, size_t size) override {
    return Off() ? -1 : FileSystem::Write(fd, buffer, size);
  }
  int Fsync(int fd) override {
    if (Off() || FileSystem::Fsync(fd) != 0) return -1;
    struct stat info;
    ::fstat(fd, &info);
    data_[info.st_ino] = ReadTextFile("/proc/self/fd/" + std::to_string(fd));
    return 0;
  }
  int FsyncDirectory(int fd) override {
    if (Off() || FileSystem::FsyncDirectory(fd) != 0) return -1;
    synced_ = Names();
    return 0;
  }
  int Close(int fd) override {
    FileSystem::Close(fd);  // the descriptor goes either way
    return Off() ? -1 : 0;
  }
  int Rename(const char* from, const char* to) override {
    return Off() ? -1 : FileSystem::Rename(from, to);
  }
  int Link(const char* existing, const char* name) override {
    return Off() ? -1 : FileSystem::Link(existing, name);
  }
  int Unlink(const char* path) override { return Off() ? -1 : FileSystem::Unlink(path); }
  int Stat(const char* path, struct stat* info) override {
    return Off() ? -1 : FileSystem::Stat(path, info);
  }
  int Ftruncate(int fd, off_t length) override {
    return Off() ? -1 : FileSystem::Ftruncate(fd, length);
  }
  int Fchmod(int fd, mode_t mode) override { return Off() ? -1 : FileSystem::Fchmod(fd, mode); }
  int Flock(int fd, int operation) override {
    return Off() ? -1 : FileSystem::Flock(fd, operation);
  }

 private:
  bool Off() {
    if (++calls_ < step_) return false;
    errno = EIO;
    return true;
  }
  // The folder's names now, each with its inode.
  std::map<std::string, ino_t> Names() const {
    std::map<std::string, ino_t> names;
    DIR* dir = opendir(folder_.c_str());
    while (const dirent* entry = dir ? readdir(dir) : nullptr) {
      struct stat info;
      const std::string path = folder_ + "/" + entry->d_name;
      if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
        names[entry->d_name] = info.st_ino;
    }
    if (dir) closedir(dir);
    return names;
  }

  std::string folder_;
  int step_;
  int calls_ = 0;
  std::map<std::string, ino_t> synced_;  // the names a restart finds
  std::map<ino_t, std::string> data_;    // each inode's durable data
};

#endif
