// The watch thread of an open tree.
#include "TreeWatch.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#include <vector>

#include "OpenTrees.h"
#include "SourceChain.h"
#include "file/FolderWatch.h"
#include "util/FailureNote.h"

namespace keytreestore {

TreeWatch::~TreeWatch() {
  if (thread_.joinable()) {
    const std::uint64_t one = 1;
    if (write(stop_, &one, sizeof one) < 0) {
      // An eventfd write fails only when its counter is full, which one stop never fills.
    }
    thread_.join();
  }
  if (stop_ >= 0) close(stop_);
  if (notify_ >= 0) close(notify_);
}

int TreeWatch::Start(OpenTree& tree, std::shared_ptr<TreeWatch>* watch) {
  if (NamesEtcd(tree.pathText.c_str())) {
    NoteFailure("settings under an etcd prefix cannot be watched yet");
    return STORE_E_BAD_ARGUMENT;
  }
  std::vector<std::string> files{tree.diskPath};
  for (const auto& parent : tree.parents) {
    if (parent->path.rfind("etcd://", 0) == 0) {
      NoteFailure("%s extends settings under an etcd prefix, which cannot be watched yet",
                  tree.diskPath.c_str());
      return STORE_E_BAD_ARGUMENT;
    }
    files.push_back(parent->path);
  }
  std::unique_ptr<TreeWatch> made(new TreeWatch);
  made->folders_ = std::make_unique<FolderWatch>();
  made->notify_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  made->stop_ = eventfd(0, EFD_CLOEXEC);
  if (made->notify_ < 0 || made->stop_ < 0) {
    NoteFailure("no event descriptor for a watch");
    return STORE_E_IO;
  }
  const int result = made->folders_->Start(files);
  if (result != STORE_OK) return result;
  // A change between the read and the watch shows here.
  int updated = 0;
  if (UpdateCheckChain(tree, &updated) == STORE_OK && updated == 1) made->Signal();
  made->thread_ = std::thread(&TreeWatch::Run, made.get(), &tree);
  *watch = std::move(made);
  return STORE_OK;
}

void TreeWatch::Signal() {
  changed_.store(true, std::memory_order_release);
  const std::uint64_t one = 1;
  if (write(notify_, &one, sizeof one) < 0) {
    // Full counter: the caller has not read it yet, and it is readable anyway.
  }
}

void TreeWatch::Run(OpenTree* tree) {
  pollfd fds[2] = {{stop_, POLLIN, 0}, {folders_->fd(), POLLIN, 0}};
  for (;;) {
    if (poll(fds, 2, -1) < 0) continue;
    if (fds[0].revents != 0) return;
    if (!folders_->Drain() || Changed()) continue;
    // The tree's own check tells another's save from this process's.
    std::lock_guard<std::mutex> guard(tree->mutex);
    int updated = 0;
    if (UpdateCheckChain(*tree, &updated) != STORE_OK || updated == 1) Signal();
  }
}

int TreeWatch::Wait(int timeoutMs) {
  pollfd fd = {notify_, POLLIN, 0};
  if (!Changed() && poll(&fd, 1, timeoutMs) <= 0) return 0;
  std::uint64_t count = 0;
  if (read(notify_, &count, sizeof count) < 0) {
    // Read empty already by another waiter.
  }
  return Changed() ? 1 : 0;
}

}  // namespace keytreestore
