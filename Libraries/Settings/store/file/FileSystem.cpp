// The real file system behind the store's file interface.
#include "file/FileSystem.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

namespace keytreestore {

int FileSystem::Open(const char* path, int flags, mode_t mode) {
  return ::open(path, flags | O_CLOEXEC, mode);
}
ssize_t FileSystem::Read(int fd, void* buffer, size_t size) {
  return ::read(fd, buffer, size);
}
ssize_t FileSystem::Pread(int fd, void* buffer, size_t size, off_t offset) {
  return ::pread(fd, buffer, size, offset);
}
ssize_t FileSystem::Write(int fd, const void* buffer, size_t size) {
  return ::write(fd, buffer, size);
}
int FileSystem::Fsync(int fd) {
  return ::fsync(fd);
}
int FileSystem::FsyncDirectory(int fd) {
  return ::fsync(fd);
}
int FileSystem::Close(int fd) {
  return ::close(fd);
}
int FileSystem::Rename(const char* from, const char* to) {
  return ::rename(from, to);
}
int FileSystem::Link(const char* existing, const char* name) {
  return ::link(existing, name);
}
int FileSystem::Unlink(const char* path) {
  return ::unlink(path);
}
int FileSystem::Stat(const char* path, struct stat* info) {
  return ::stat(path, info);
}
int FileSystem::Fstat(int fd, struct stat* info) {
  return ::fstat(fd, info);
}
int FileSystem::Fchmod(int fd, mode_t mode) {
  return ::fchmod(fd, mode);
}
int FileSystem::Fchown(int fd, uid_t owner, gid_t group) {
  return ::fchown(fd, owner, group);
}
int FileSystem::Ftruncate(int fd, off_t length) {
  return ::ftruncate(fd, length);
}
int FileSystem::Flock(int fd, int operation) {
  return ::flock(fd, operation);
}
int FileSystem::Access(const char* path, int mode) {
  return ::faccessat(AT_FDCWD, path, mode, AT_EACCESS);
}

bool WriteAll(FileSystem& fs, int fd, const char* bytes, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t n = fs.Write(fd, bytes + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

namespace {
FileSystem g_realFileSystem;
std::atomic<FileSystem*> g_fileSystem{&g_realFileSystem};
}  // namespace

FileSystem& CurrentFileSystem() {
  return *g_fileSystem.load(std::memory_order_acquire);
}

ScopedFileSystem::ScopedFileSystem(FileSystem& fs)
    : previous_(g_fileSystem.exchange(&fs, std::memory_order_acq_rel)) {}

ScopedFileSystem::~ScopedFileSystem() {
  g_fileSystem.store(previous_, std::memory_order_release);
}

}  // namespace keytreestore
