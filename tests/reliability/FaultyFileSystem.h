// A file system for tests that makes the nth call of one kind of operation fail,
// and can cut every write short, so that each step of a save can be made to fail.
#ifndef DICOMSETTINGS_TESTS_FAULTYFILESYSTEM_H
#define DICOMSETTINGS_TESTS_FAULTYFILESYSTEM_H

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <set>
#include <string>

#include "file/FileSystem.h"

// The operations a load or save makes, told apart by what they act on.
enum class FileOp {
  kOpenLock,
  kLock,
  kStat,
  kOpenRead,
  kRead,
  kOpenDirectory,
  kOpenTemporary,
  kWrite,
  kFchmod,
  kFsync,
  kCloseTemporary,
  kLink,
  kRename,
  kFsyncDirectory,
  kCloseOther
};

inline std::string FileOpName(FileOp op) {
  return "file operation " + std::to_string(static_cast<int>(op));
}

class FaultyFileSystem : public keytreestore::FileSystem {
 public:
  // Makes the nth call (from 1) of op fail with error.
  void FailAt(FileOp op, int nth, int error = EIO) {
    failOp_ = op;
    failAt_ = nth;
    error_ = error;
  }
  // Writes at most this many bytes per call (0: no limit).
  void CapWrites(size_t bytes) { writeCap_ = bytes; }
  bool fired() const { return fired_; }

  int Open(const char* path, int flags, mode_t mode) override {
    const size_t length = std::strlen(path);
    FileOp op = FileOp::kOpenRead;
    if (flags & O_DIRECTORY) {
      op = FileOp::kOpenDirectory;
    } else if (flags & O_EXCL) {
      op = FileOp::kOpenTemporary;
    } else if (length > 5 && std::strcmp(path + length - 5, ".lock") == 0) {
      op = FileOp::kOpenLock;
    }
    const int fd = Fault(op) ? -1 : FileSystem::Open(path, flags, mode);
    if (fd >= 0 && op == FileOp::kOpenTemporary) temporaries_.insert(fd);
    return fd;
  }
  ssize_t Read(int fd, void* buffer, size_t size) override {
    return Fault(FileOp::kRead) ? -1 : FileSystem::Read(fd, buffer, size);
  }
  ssize_t Pread(int fd, void* buffer, size_t size, off_t offset) override {
    return Fault(FileOp::kRead) ? -1 : FileSystem::Pread(fd, buffer, size, offset);
  }
  ssize_t Write(int fd, const void* buffer, size_t size) override {
    if (Fault(FileOp::kWrite)) return -1;
    return FileSystem::Write(fd, buffer, writeCap_ != 0 && size > writeCap_ ? writeCap_ : size);
  }
  int Fsync(int fd) override { return Fault(FileOp::kFsync) ? -1 : FileSystem::Fsync(fd); }
  int FsyncDirectory(int fd) override {
    return Fault(FileOp::kFsyncDirectory) ? -1 : FileSystem::FsyncDirectory(fd);
  }
  int Close(int fd) override {
    const bool temporary = temporaries_.erase(fd) != 0;
    const bool fail = Fault(temporary ? FileOp::kCloseTemporary : FileOp::kCloseOther);
    const int result = FileSystem::Close(fd);  // a failed close still frees the descriptor
    return fail ? -1 : result;
  }
  int Rename(const char* from, const char* to) override {
    return Fault(FileOp::kRename) ? -1 : FileSystem::Rename(from, to);
  }
  int Link(const char* existing, const char* name) override {
    return Fault(FileOp::kLink) ? -1 : FileSystem::Link(existing, name);
  }
  int Stat(const char* path, struct stat* info) override {
    return Fault(FileOp::kStat) ? -1 : FileSystem::Stat(path, info);
  }
  int Fchmod(int fd, mode_t mode) override {
    return Fault(FileOp::kFchmod) ? -1 : FileSystem::Fchmod(fd, mode);
  }
  int Flock(int fd, int operation) override {
    return (operation & LOCK_EX) && Fault(FileOp::kLock) ? -1 : FileSystem::Flock(fd, operation);
  }

 private:
  bool Fault(FileOp op) {
    if (++calls_[op] != failAt_ || op != failOp_) return false;
    fired_ = true;
    errno = error_;
    return true;
  }
  std::map<FileOp, int> calls_;
  std::set<int> temporaries_;
  FileOp failOp_ = FileOp::kOpenLock;
  int failAt_ = 0;
  int error_ = EIO;
  size_t writeCap_ = 0;
  bool fired_ = false;
};

#endif
