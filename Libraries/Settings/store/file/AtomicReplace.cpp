// Writing a new version of a settings file beside it and renaming it into place.
#include "file/AtomicReplace.h"

#include <dirent.h>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "KeyTreeStore.h"
#include "file/FileSystem.h"
#include "text/Printable.h"
#include "util/FailureNote.h"

namespace keytreestore {
namespace {

// Temporary files and backup links are named "<target>.tmp.<suffix>[.old]", so that
// one prefix finds every leftover of an interrupted save.
const char kTemporaryInfix[] = ".tmp.";
const char kBackupSuffix[] = ".old";

std::string BaseNameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
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

int ReplaceFile(const std::string& target, const std::string& bytes, const FileIdentity& old,
                FileIdentity* saved, const std::function<bool()>& alongside) {
  FileSystem& fs = CurrentFileSystem();
  // Each step notes the system's reason when it fails; the first failure ends the
  // steps that would change anything.
  const auto step = [](bool done, const char* what, const std::string& path) {
    if (!done) NoteSystemFailure(what, path, errno);
    return done;
  };
  // Opened before anything is written, so that failing to open it changes nothing.
  const std::string directory = DirectoryOf(target);
  const int dir = fs.Open(directory.c_str(), O_RDONLY | O_DIRECTORY, 0);
  if (!step(dir >= 0, "open the folder", directory)) return STORE_E_IO;
  std::string temporary;
  // A new file gets the usual 0666 less the umask; an existing one keeps its bits.
  const int fd = CreateTemporary(fs, target, old.exists ? 0600 : 0666, &temporary);
  if (!step(fd >= 0, "create a temporary file in", directory)) {
    fs.Close(dir);
    return STORE_E_IO;
  }
  bool ok = step(WriteAll(fs, fd, bytes.data(), bytes.size()), "write", temporary);
  if (ok && old.exists) {
    // Owner first: changing it may clear set-id bits that the mode then restores.
    fs.Fchown(fd, old.owner, old.group);  // allowed to fail when not privileged
    ok = step(fs.Fchmod(fd, old.mode & 07777) == 0, "set the permissions of", temporary);
  }
  ok = ok && (!alongside || alongside());
  ok = ok && step(fs.Fsync(fd) == 0, "flush", temporary);
  ok = step(fs.Close(fd) == 0, "close", temporary) && ok;
  // A second name for the old version, to put it back if the rename cannot be made durable.
  const std::string backup = temporary + kBackupSuffix;
  const bool backedUp = ok && old.exists && fs.Link(target.c_str(), backup.c_str()) == 0;
  ok = ok && step(fs.Rename(temporary.c_str(), target.c_str()) == 0, "rename over", target);
  if (!ok) {
    fs.Unlink(temporary.c_str());
  } else {
    struct stat info;
    ok = step(fs.FsyncDirectory(dir) == 0, "flush the folder", directory) &&
         step(fs.Stat(target.c_str(), &info) == 0, "look at", target);
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
