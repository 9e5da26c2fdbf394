// The cross-process save lock: flock on "<target>.lock".
#include "file/SaveLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <time.h>

#include <cerrno>

#include "KeyTreeStore.h"
#include "file/FileSystem.h"
#include "text/Printable.h"
#include "util/FailureNote.h"

namespace keytreestore {

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
  if (fd_ < 0) {
    NoteSystemFailure("open the save lock", lockPath, errno);
    return STORE_E_IO;
  }
  for (int waited = 0;; waited += 5) {
    if (fs.Flock(fd_, LOCK_EX | LOCK_NB) == 0) return STORE_OK;
    if (errno != EWOULDBLOCK && errno != EINTR) {
      NoteSystemFailure("lock", lockPath, errno);
      break;
    }
    if (waited >= timeoutMs) {
      NoteFailure("%s: another process held the save lock for %d ms", Printable(lockPath).c_str(),
                  timeoutMs);
      break;
    }
    const timespec pause{0, 5 * 1000 * 1000};
    nanosleep(&pause, nullptr);
  }
  fs.Close(fd_);
  fd_ = -1;
  return STORE_E_IO;
}

}  // namespace keytreestore
