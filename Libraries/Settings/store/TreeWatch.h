// Change notification for one open tree: a thread that waits on the sources' own
// signs of change (a file's folder's inotify events, an etcd prefix's watch
// stream) and checks each against the version the tree last read, under the
// tree's lock, so that a save this process made is never taken for another's. A
// change found sets a flag, which the update check then reads without a system
// call, and makes a descriptor readable for the caller's poll.
//
// Every source of the chain is watched: the tree's own and those it extends. A
// load that changes the chain (a link changed) has the thread watch the new one.
#ifndef DICOMSETTINGS_STORE_TREEWATCH_H
#define DICOMSETTINGS_STORE_TREEWATCH_H

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "etcd/EtcdWatch.h"

namespace keytreestore {

struct OpenTree;
class FolderWatch;

class TreeWatch {
 public:
  ~TreeWatch();  // stops the thread; call without holding the tree's lock

  // Starts watching every source of tree (called with its lock held): a file's
  // folder from now on, an etcd prefix from the revision after the one it was
  // read at. A file, or a prefix whose revision is not known (served from a local
  // copy), is then checked once, so that a change since the tree was read is not
  // missed. STORE_OK; STORE_E_IO (noted) when a folder cannot be watched or no
  // endpoint of a cluster creates a watch; STORE_E_BAD_ARGUMENT for what
  // configuring an etcd path gives.
  static int Start(OpenTree& tree, std::shared_ptr<TreeWatch>* watch);

  // Whether a change by another was seen since the tree was last read.
  bool Changed() const { return changed_.load(std::memory_order_acquire); }
  // Whether the watch is whole: false while a cluster's stream is lost or the
  // chain a load brought could not be watched. The update check then asks the
  // sources, as without a watch.
  bool Live() const { return live_.load(std::memory_order_acquire); }
  // After a load (the tree's lock held): nothing seen yet; the thread looks
  // whether the chain changed.
  void Reloaded();
  // The descriptor that becomes readable on a change.
  int fd() const { return notify_; }
  // Waits at most timeoutMs (-1: without end) for a change: 1 when one was seen, 0
  // when none came; the descriptor is read empty.
  int Wait(int timeoutMs);

 private:
  TreeWatch() = default;
  // Watches the chain of tree as it is now (its lock held).
  int Watch(OpenTree& tree);
  void Run(OpenTree* tree);
  // Waits for the stop, a reload or a source's sign of change.
  void WaitForSigns(pollfd* fds);
  // Checks what the sources told (seen, per path; files: a folder's event)
  // against the version the tree last read (its lock held).
  void Check(OpenTree& tree, bool files, const std::vector<EtcdWatch::Seen>& seen);
  // Sets the flag and wakes the waiters.
  void Signal();

  std::vector<std::string> watched_;      // the chain's paths, the tree's own first
  std::vector<int> streamOf_;             // per path: its etcd stream, -1 for a file
  std::unique_ptr<FolderWatch> folders_;  // null when no source is a file
  std::unique_ptr<EtcdWatch> streams_;    // null when none is under an etcd prefix
  std::atomic<bool> changed_{false};
  std::atomic<bool> live_{true};
  int notify_ = -1;  // eventfd the caller polls
  int reload_ = -1;  // eventfd a load wakes the thread with
  int stop_ = -1;    // eventfd that ends the thread
  std::thread thread_;
};

}  // namespace keytreestore

#endif
