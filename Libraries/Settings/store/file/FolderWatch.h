// Telling that settings files changed, by watching their folders (inotify): a
// save renames a new file into place, an editor may write in place or delete and
// create anew, and every one of these shows in the folder, where a watch on the
// file itself would follow the old inode and go silent.
#ifndef DICOMSETTINGS_STORE_FILE_FOLDERWATCH_H
#define DICOMSETTINGS_STORE_FILE_FOLDERWATCH_H

#include <string>
#include <vector>

namespace keytreestore {

class FolderWatch {
 public:
  FolderWatch() = default;
  ~FolderWatch();
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;

  // Watches the folders of files (UTF-8 paths) for any change to those names:
  // STORE_OK, or STORE_E_IO (noted) when a folder cannot be watched.
  int Start(const std::vector<std::string>& files);
  // A descriptor that becomes readable when events are pending.
  int fd() const { return fd_; }
  // Reads the pending events: true when one concerned a file watched.
  bool Drain();

 private:
  int fd_ = -1;
  std::vector<std::pair<int, std::string>> names_;  // watch descriptor, file name
};

}  // namespace keytreestore

#endif
