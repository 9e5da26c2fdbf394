// inotify on the folders of watched files.
#include "file/FolderWatch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "KeyTreeStore.h"
#include "file/FileVersion.h"
#include "text/Printable.h"

namespace keytreestore {

FolderWatch::~FolderWatch() {
  if (fd_ >= 0) close(fd_);
}

int FolderWatch::Start(const std::vector<std::string>& files) {
  fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd_ < 0) {
    NoteSystemFailure("watch", files.empty() ? std::string() : files[0], errno);
    return STORE_E_IO;
  }
  constexpr uint32_t kEvents = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE |
                               IN_DELETE | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF;
  for (const std::string& file : files) {
    const std::string real = ResolveLinks(file);
    const std::string folder = DirectoryOf(real);
    const int wd = inotify_add_watch(fd_, folder.c_str(), kEvents);
    if (wd < 0) {
      NoteSystemFailure("watch the folder", folder, errno);
      return STORE_E_IO;
    }
    const size_t slash = real.rfind('/');
    names_.emplace_back(wd, slash == std::string::npos ? real : real.substr(slash + 1));
  }
  return STORE_OK;
}

bool FolderWatch::Drain() {
  alignas(inotify_event) char buffer[16384];
  bool concerned = false;
  for (;;) {
    const ssize_t n = read(fd_, buffer, sizeof buffer);
    if (n <= 0) return concerned;
    for (ssize_t at = 0; at < n;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      // The folder itself gone or moved, or the queue overflowed: anything may have changed.
      if (event->mask & (IN_Q_OVERFLOW | IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) {
        concerned = true;
        continue;
      }
      for (const auto& name : names_) {
        if (name.first == event->wd && event->len > 0 && name.second == event->name) {
          concerned = true;
        }
      }
    }
  }
}

}  // namespace keytreestore
