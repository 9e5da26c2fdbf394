// The narrow file interface through which the store does every file operation of
// a load or a save, so that tests can make any single operation fail or write short.
#ifndef DICOMSETTINGS_STORE_FILE_FILESYSTEM_H
#define DICOMSETTINGS_STORE_FILE_FILESYSTEM_H

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>

namespace keytreestore {

// Each operation returns what its POSIX namesake returns and sets errno the same way.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual int Open(const char* path, int flags, mode_t mode);
  virtual ssize_t Read(int fd, void* buffer, size_t size);
  virtual ssize_t Pread(int fd, void* buffer, size_t size, off_t offset);
  virtual ssize_t Write(int fd, const void* buffer, size_t size);
  virtual int Fsync(int fd);           // a file's data
  virtual int FsyncDirectory(int fd);  // a directory, after a rename into it
  virtual int Close(int fd);
  virtual int Rename(const char* from, const char* to);
  virtual int Link(const char* existing, const char* name);
  virtual int Unlink(const char* path);
  virtual int Stat(const char* path, struct stat* info);
  virtual int Fstat(int fd, struct stat* info);
  virtual int Fchmod(int fd, mode_t mode);
  virtual int Fchown(int fd, uid_t owner, gid_t group);
  virtual int Ftruncate(int fd, off_t length);
  virtual int Flock(int fd, int operation);
  // Whether this process may access path as mode asks (R_OK, W_OK), by its
  // effective user and groups: faccessat with AT_EACCESS.
  virtual int Access(const char* path, int mode);
};

// Writes all of bytes to fd through fs, again where a write is cut short or
// interrupted: false (errno set) when a write fails or writes nothing.
bool WriteAll(FileSystem& fs, int fd, const char* bytes, size_t size);

// The file system the store uses now: the real one unless a test installed another.
FileSystem& CurrentFileSystem();

// Installs fs for the life of this object (tests only; not thread-safe against saves).
class ScopedFileSystem {
 public:
  explicit ScopedFileSystem(FileSystem& fs);
  ~ScopedFileSystem();
  ScopedFileSystem(const ScopedFileSystem&) = delete;
  ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;

 private:
  FileSystem* previous_;
};

}  // namespace keytreestore

#endif
