// Whole-file reads, file identity for change detection, the save lock, and the
// crash-safe replacement of a settings file.
#ifndef DICOMSETTINGS_STORE_DURABLEFILE_H
#define DICOMSETTINGS_STORE_DURABLEFILE_H

#include <sys/stat.h>

#include <functional>
#include <string>
#include <string_view>

#include "ParseBuffer.h"

namespace keytreestore {

// What tells one version of a file on disk from another.
struct FileIdentity {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  struct timespec modified {};
  struct timespec changed {};
  mode_t mode = 0;
  uid_t owner = 0;
  gid_t group = 0;

  bool SameVersion(const FileIdentity& other) const;
};

FileIdentity IdentityOf(const struct stat& info);
// Identity of the file a path names now (following links); exists is false if none
// or if it cannot be told.
FileIdentity StatIdentity(const std::string& path);
// The same, telling a missing file (STORE_OK, exists false) from one that cannot be
// looked at (STORE_E_IO).
int StatExisting(const std::string& path, FileIdentity* identity);

// Reads a whole file into a parse buffer: STORE_OK, STORE_E_NO_FILE,
// STORE_E_TOO_LONG (a path the system refuses as too long), STORE_E_NO_MEMORY or
// STORE_E_IO. *identity is the identity of the very file read. The file is read
// in parts of at most kReadPart bytes, and arrived (when given) is called with
// all bytes so far after each, to look at them while they are in the cache.
constexpr size_t kReadPart = 256 * 1024;
int ReadWholeFile(const std::string& path, ParseBuffer* bytes, FileIdentity* identity,
                  const std::function<void(std::string_view)>& arrived = nullptr);

// The file a path finally names after following symbolic links, also where the
// last link leads to no file; the path itself when it names no link or the links
// loop.
std::string ResolveLinks(const std::string& path);

// An exclusive advisory lock on "<target>.lock", held until destruction. flock
// locks die with their process, so a crashed holder never leaves a stale lock.
class SaveLock {
 public:
  SaveLock() = default;
  ~SaveLock();
  SaveLock(const SaveLock&) = delete;
  SaveLock& operator=(const SaveLock&) = delete;
  // STORE_OK, or STORE_E_IO when the lock file cannot be opened or the lock is
  // not had within timeoutMs milliseconds.
  int Acquire(const std::string& target, int timeoutMs);

 private:
  int fd_ = -1;
};

// Replaces target with bytes: a temporary file in the same directory is written,
// given the old file's owner (where allowed) and permission bits, fsynced, renamed
// over target, and the directory is fsynced. STORE_OK with *saved the identity of
// the new file, or STORE_E_IO; on failure the temporary file is gone and target is
// the old version again (a failure after the rename puts it back from a second link
// made beforehand; only where the file system refuses hard links can the new version
// stay).
int ReplaceFile(const std::string& target, const std::string& bytes, const FileIdentity& old,
                FileIdentity* saved);

// Removes temporary and backup files that an interrupted save left beside target.
// Call only while holding the save lock.
void RemoveStaleTemporaries(const std::string& target);

}  // namespace keytreestore

#endif
