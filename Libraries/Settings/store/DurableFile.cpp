// Crash-safe file replacement and the cross-process save lock of the settings store.
#include "DurableFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "FileSystem.h"
#include "KeyTreeStore.h"

namespace keytreestore {
namespace {

// Temporary files and backup links are named "<target>.tmp.<suffix>[.old]", so that
// one prefix finds every leftover of an interrupted save.
const char kTemporaryInfix[] = ".tmp.";
const char kBackupSuffix[] = ".old";

bool SameTime(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool WriteAll(FileSystem& fs, int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = fs.Write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// Creates a new temporary file beside target; returns its descriptor or -1.
int CreateTemporary(FileSystem& fs, const std::string& target, mode_t mode, std::string* name) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, "%ld%x%lx", static_cast<long>(getpid()),
                  counter.fetch_add(1), static_cast<unsigned long>(now.tv_nsec));
    *name = target + kTemporaryInfix + suffix;
    const int fd = fs.Open(name->c_str(), O_WRONLY | O_CREAT | O_EXCL, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

bool FileIdentity::SameVersion(const FileIdentity& other) const {
  if (exists != other.exists) return false;
  if (!exists) return true;
  return device == other.device && inode == other.inode && size == other.size &&
         SameTime(modified, other.modified) && SameTime(changed, other.changed);
}

FileIdentity IdentityOf(const struct stat& info) {
  FileIdentity id;
  id.exists = true;
  id.device = info.st_dev;
  id.inode = info.st_ino;
  id.size = info.st_size;
  id.modified = info.st_mtim;
  id.changed = info.st_ctim;
  id.mode = info.st_mode;
  id.owner = info.st_uid;
  id.group = info.st_gid;
  return id;
}

FileIdentity StatIdentity(const std::string& path) {
  FileIdentity identity;
  StatExisting(path, &identity);
  return identity;
}

int StatExisting(const std::string& path, FileIdentity* identity) {
  struct stat info;
  *identity = FileIdentity();
  if (CurrentFileSystem().Stat(path.c_str(), &info) == 0) {
    *identity = IdentityOf(info);
    return STORE_OK;
  }
  return errno == ENOENT ? STORE_OK : STORE_E_IO;
}

int ReadWholeFile(const std::string& path, ParseBuffer* bytes, FileIdentity* identity,
                  const std::function<void(std::string_view)>& arrived) {
  FileSystem& fs = CurrentFileSystem();
  const int fd = fs.Open(path.c_str(), O_RDONLY, 0);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return STORE_E_NO_FILE;
    return errno == ENAMETOOLONG ? STORE_E_TOO_LONG : STORE_E_IO;
  }
  struct stat info;
  int result = STORE_OK;
  ParseBuffer data;
  if (fs.Fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    result = STORE_E_IO;
  } else if (!data.Reserve(static_cast<size_t>(info.st_size))) {
    result = STORE_E_NO_MEMORY;
  } else {
    // Read straight into place, as far as the size holds; a file that grew
    // meanwhile is read on to its end, and one that shrank ends where it ends.
    char chunk[65536];
    for (;;) {
      const size_t used = data.size();
      const bool inPlace = used < data.capacity();
      const size_t room = std::min(data.capacity() - used, kReadPart);
      const ssize_t n =
          inPlace ? fs.Read(fd, data.data() + used, room) : fs.Read(fd, chunk, sizeof chunk);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        result = STORE_E_IO;
        break;
      }
      if (n == 0) break;
      if (!inPlace) {
        if (!data.Reserve(2 * used + sizeof chunk)) {
          result = STORE_E_NO_MEMORY;
          break;
        }
        std::memcpy(data.data() + used, chunk, static_cast<size_t>(n));
      }
      data.SetSize(used + static_cast<size_t>(n));
      if (arrived) arrived(std::string_view(data.data(), data.size()));
    }
  }
  if (result == STORE_OK) {
    *bytes = std::move(data);
    *identity = IdentityOf(info);
  }
  fs.Close(fd);
  return result;
}

std::string ResolveLinks(const std::string& path) {
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved) != nullptr) return resolved;
  // A link whose file is gone is followed by hand, so that a save creates the file
  // it names rather than putting a plain file in place of the link.
  std::string current = path;
  for (int hops = 0; hops < 40; ++hops) {
    char target[PATH_MAX];
    const ssize_t n = readlink(current.c_str(), target, sizeof target - 1);
    if (n < 0) return current;
    target[n] = '\0';
    current = target[0] == '/' ? std::string(target) : DirectoryOf(current) + "/" + target;
  }
  return path;  // a loop of links
}

SaveLock::~SaveLock() {
  if (fd_ >= 0) {
    FileSystem& fs = CurrentFileSystem();
    fs.Flock(fd_, LOCK_UN);
    fs.Close(fd_);
  }
}

int SaveLock::Acquire(const std::string& target, int timeoutMs) {
  FileSystem& fs = CurrentFileSystem();
  const std::string lockPath = target + ".lock";
  // flock needs no write access, so a lock file made by another user still serves.
  fd_ = fs.Open(lockPath.c_str(), O_RDONLY | O_CREAT, 0666);
  if (fd_ < 0) return STORE_E_IO;
  for (int waited = 0;; waited += 5) {
    if (fs.Flock(fd_, LOCK_EX | LOCK_NB) == 0) return STORE_OK;
    if (errno != EWOULDBLOCK && errno != EINTR) break;
    if (waited >= timeoutMs) break;
    const timespec pause{0, 5 * 1000 * 1000};
    nanosleep(&pause, nullptr);
  }
  fs.Close(fd_);
  fd_ = -1;
  return STORE_E_IO;
}

int ReplaceFile(const std::string& target, const std::string& bytes, const FileIdentity& old,
                FileIdentity* saved) {
  FileSystem& fs = CurrentFileSystem();
  // Opened before anything is written, so that failing to open it changes nothing.
  const int dir = fs.Open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY, 0);
  if (dir < 0) return STORE_E_IO;
  std::string temporary;
  // A new file gets the usual 0666 less the umask; an existing one keeps its bits.
  const int fd = CreateTemporary(fs, target, old.exists ? 0600 : 0666, &temporary);
  if (fd < 0) {
    fs.Close(dir);
    return STORE_E_IO;
  }
  bool ok = WriteAll(fs, fd, bytes);
  if (ok && old.exists) {
    // Owner first: changing it may clear set-id bits that the mode then restores.
    fs.Fchown(fd, old.owner, old.group);  // allowed to fail when not privileged
    ok = fs.Fchmod(fd, old.mode & 07777) == 0;
  }
  ok = ok && fs.Fsync(fd) == 0;
  ok = fs.Close(fd) == 0 && ok;
  // A second name for the old version, to put it back if the rename cannot be made durable.
  const std::string backup = temporary + kBackupSuffix;
  const bool backedUp = ok && old.exists && fs.Link(target.c_str(), backup.c_str()) == 0;
  ok = ok && fs.Rename(temporary.c_str(), target.c_str()) == 0;
  if (!ok) {
    fs.Unlink(temporary.c_str());
  } else {
    struct stat info;
    ok = fs.FsyncDirectory(dir) == 0 && fs.Stat(target.c_str(), &info) == 0;
    if (ok) {
      *saved = IdentityOf(info);
    } else if (backedUp) {
      fs.Rename(backup.c_str(), target.c_str());
    } else if (!old.exists) {
      fs.Unlink(target.c_str());
    }
  }
  if (backedUp) fs.Unlink(backup.c_str());  // gone already where it was renamed back
  fs.Close(dir);
  return ok ? STORE_OK : STORE_E_IO;
}

void RemoveStaleTemporaries(const std::string& target) {
  const std::string prefix = BaseNameOf(target) + kTemporaryInfix;
  const std::string directory = DirectoryOf(target);
  DIR* dir = opendir(directory.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = readdir(dir)) {
    if (std::strncmp(entry->d_name, prefix.c_str(), prefix.size()) == 0) {
      CurrentFileSystem().Unlink((directory + "/" + entry->d_name).c_str());
    }
  }
  closedir(dir);
}

}  // namespace keytreestore
