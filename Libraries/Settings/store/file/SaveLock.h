// The lock that serialises the saves of one settings file between processes.
#ifndef DICOMSETTINGS_STORE_FILE_SAVELOCK_H
#define DICOMSETTINGS_STORE_FILE_SAVELOCK_H

#include <string>

namespace keytreestore {

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

}  // namespace keytreestore

#endif
