// Change notification for one open tree: a thread that waits on the sources'
// own signs of change (a folder's inotify events) and, on one, runs the tree's
// update check under its lock, so that a save this process made is never taken
// for another's. A change found sets a flag, which the update check then reads
// without a system call, and makes a descriptor readable for the caller's poll.
#ifndef DICOMSETTINGS_STORE_TREEWATCH_H
#define DICOMSETTINGS_STORE_TREEWATCH_H

#include <atomic>
#include <memory>
#include <thread>

namespace keytreestore {

struct OpenTree;
class FolderWatch;

class TreeWatch {
 public:
  ~TreeWatch();  // stops the thread; call without holding the tree's lock

  // Starts watching every source of tree (called with its lock held); then runs
  // the update check once, so that a change since the tree was read is not
  // missed. STORE_OK; STORE_E_BAD_ARGUMENT (noted) for a chain with an etcd
  // source; STORE_E_IO (noted) when a folder cannot be watched.
  static int Start(OpenTree& tree, std::shared_ptr<TreeWatch>* watch);

  // Whether a change by another was seen since the tree was last read.
  bool Changed() const { return changed_.load(std::memory_order_acquire); }
  // After a load: nothing seen yet.
  void Clear() { changed_.store(false, std::memory_order_release); }
  // The descriptor that becomes readable on a change.
  int fd() const { return notify_; }
  // Waits at most timeoutMs (-1: without end) for a change: 1 when one was seen, 0
  // when none came; the descriptor is read empty.
  int Wait(int timeoutMs);

 private:
  TreeWatch() = default;
  void Run(OpenTree* tree);
  // Sets the flag and wakes the waiters.
  void Signal();

  std::unique_ptr<FolderWatch> folders_;
  std::atomic<bool> changed_{false};
  int notify_ = -1;  // eventfd the caller polls
  int stop_ = -1;    // eventfd that ends the thread
  std::thread thread_;
};

}  // namespace keytreestore

#endif
