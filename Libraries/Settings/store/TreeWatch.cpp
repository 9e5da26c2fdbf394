// The watch thread of an open tree.
#include "TreeWatch.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#include <utility>

#include "OpenTrees.h"
#include "SourceChain.h"
#include "etcd/EtcdPath.h"
#include "etcd/EtcdWatch.h"
#include "file/FolderWatch.h"
#include "util/FailureNote.h"

namespace keytreestore {
namespace {

// The paths of tree's chain: its own first, then the sources it extends.
std::vector<std::string> ChainPaths(const OpenTree& tree) {
  std::vector<std::string> paths{tree.diskPath};
  for (const auto& parent : tree.parents) paths.push_back(parent->path);
  return paths;
}

Backing& BackingAt(OpenTree& tree, size_t i) {
  return i == 0 ? *tree.backing : *tree.parents[i - 1]->backing;
}

void Add(int fd) {
  const std::uint64_t one = 1;
  if (write(fd, &one, sizeof one) < 0) {
    // Full counter: nobody has read it yet, and it is readable anyway.
  }
}

void Empty(int fd) {
  std::uint64_t count = 0;
  if (read(fd, &count, sizeof count) < 0) {
    // Read empty already.
  }
}

}  // namespace

TreeWatch::~TreeWatch() {
  if (thread_.joinable()) {
    Add(stop_);
    thread_.join();
  }
  for (const int fd : {stop_, reload_, notify_}) {
    if (fd >= 0) close(fd);
  }
}

int TreeWatch::Start(OpenTree& tree, std::shared_ptr<TreeWatch>* watch) {
  std::unique_ptr<TreeWatch> made(new TreeWatch);
  made->notify_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  made->reload_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  made->stop_ = eventfd(0, EFD_CLOEXEC);
  if (made->notify_ < 0 || made->reload_ < 0 || made->stop_ < 0) {
    NoteFailure("no event descriptor for a watch");
    return STORE_E_IO;
  }
  const int result = made->Watch(tree);
  if (result != STORE_OK) return result;
  made->thread_ = std::thread(&TreeWatch::Run, made.get(), &tree);
  *watch = std::move(made);
  return STORE_OK;
}

int TreeWatch::Watch(OpenTree& tree) {
  folders_.reset();
  streams_.reset();
  watched_ = ChainPaths(tree);
  streamOf_.assign(watched_.size(), -1);
  std::vector<std::string> files;
  bool unsure = false;  // a source that must be checked once now
  int streams = 0;
  for (size_t i = 0; i < watched_.size(); ++i) {
    if (!IsEtcdPath(watched_[i])) {
      files.push_back(watched_[i]);
      unsure = true;
      continue;
    }
    const long long revision = BackingAt(tree, i).KeptRevision();
    if (!streams_) streams_ = std::make_unique<EtcdWatch>();
    const int result = streams_->Add(watched_[i], revision > 0 ? revision + 1 : 0);
    if (result != STORE_OK) return result;
    streamOf_[i] = streams++;
    unsure = unsure || revision == 0;
  }
  if (!files.empty()) {
    folders_ = std::make_unique<FolderWatch>();
    const int result = folders_->Start(files);
    if (result != STORE_OK) return result;
  }
  // A change between the read and the watch shows here.
  int updated = 0;
  if (unsure && (UpdateCheckChain(tree, &updated) != STORE_OK || updated == 1)) Signal();
  return STORE_OK;
}

void TreeWatch::Signal() {
  changed_.store(true, std::memory_order_release);
  Add(notify_);
}

void TreeWatch::Reloaded() {
  changed_.store(false, std::memory_order_release);
  Add(reload_);
}

void TreeWatch::WaitForSigns(pollfd* fds) {
  const unsigned count = folders_ ? 3 : 2;
  if (streams_) {
    streams_->Wait(fds, count, -1);
  } else if (poll(fds, count, -1) < 0) {
    for (unsigned i = 0; i < count; ++i) fds[i].revents = 0;
  }
}

void TreeWatch::Run(OpenTree* tree) {
  bool whole = true;  // whether the chain last loaded is watched
  for (;;) {
    pollfd fds[3] = {{stop_, POLLIN, 0}, {reload_, POLLIN, 0}, {-1, POLLIN, 0}};
    if (folders_) fds[2].fd = folders_->fd();
    WaitForSigns(fds);
    if (fds[0].revents != 0) return;
    const bool reloaded = fds[1].revents != 0;
    if (reloaded) Empty(reload_);
    const bool files = fds[2].revents != 0 && folders_->Drain();
    bool told = false;
    std::vector<EtcdWatch::Seen> seen(watched_.size());
    for (size_t i = 0; i < watched_.size(); ++i) {
      if (streamOf_[i] < 0) continue;
      seen[i] = streams_->Take(static_cast<size_t>(streamOf_[i]));
      told = told || seen[i].compacted || seen[i].newestMod > 0;
    }
    if (reloaded || files || told) {
      std::lock_guard<std::mutex> guard(tree->mutex);
      // A load may have brought another chain (whether its wake came yet or not):
      // the new one is watched from what that load read.
      if (ChainPaths(*tree) != watched_) {
        whole = Watch(*tree) == STORE_OK;
        if (!whole) watched_.clear();
      } else {
        Check(*tree, files, seen);
      }
    }
    live_.store(whole && (!streams_ || streams_->Live()), std::memory_order_release);
  }
}

void TreeWatch::Check(OpenTree& tree, bool files, const std::vector<EtcdWatch::Seen>& seen) {
  if (Changed()) return;
  for (size_t i = 0; i < watched_.size(); ++i) {
    int updated = 0;
    if (streamOf_[i] >= 0) {
      // An event after the revision last read or saved here is another's change.
      const long long kept = BackingAt(tree, i).KeptRevision();
      updated = seen[i].compacted || seen[i].newestMod > kept ? 1 : 0;
    } else if (files && BackingAt(tree, i).UpdateCheck(&updated) != STORE_OK) {
      updated = 1;
    }
    if (updated == 1) {
      Signal();
      return;
    }
  }
}

int TreeWatch::Wait(int timeoutMs) {
  pollfd fd = {notify_, POLLIN, 0};
  if (!Changed()) poll(&fd, 1, timeoutMs);
  Empty(notify_);
  return Changed() ? 1 : 0;
}

}  // namespace keytreestore
