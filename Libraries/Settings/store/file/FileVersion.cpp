// File identities, whole-file reads and symbolic links.
#include "file/FileVersion.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "KeyTreeStore.h"
#include "file/FileSystem.h"
#include "text/Printable.h"
#include "util/FailureNote.h"

namespace keytreestore {
namespace {

bool SameTime(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

}  // namespace

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

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
  if (errno == ENOENT) return STORE_OK;
  NoteSystemFailure("look at", path, errno);
  return STORE_E_IO;
}

int ReadWholeFile(const std::string& path, ParseBuffer* bytes, FileIdentity* identity,
                  const std::function<void(std::string_view)>& arrived) {
  FileSystem& fs = CurrentFileSystem();
  const int fd = fs.Open(path.c_str(), O_RDONLY, 0);
  if (fd < 0) {
    const int error = errno;
    NoteSystemFailure("open", path, error);
    if (error == ENOENT || error == ENOTDIR) return STORE_E_NO_FILE;
    return error == ENAMETOOLONG ? STORE_E_TOO_LONG : STORE_E_IO;
  }
  struct stat info;
  int result = STORE_OK;
  ParseBuffer data;
  if (fs.Fstat(fd, &info) != 0) {
    NoteSystemFailure("look at", path, errno);
    result = STORE_E_IO;
  } else if (!S_ISREG(info.st_mode)) {
    NoteFailure("%s: %s", Printable(path).c_str(),
                S_ISDIR(info.st_mode) ? "is a directory" : "not a regular file");
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
        NoteSystemFailure("read", path, errno);
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

}  // namespace keytreestore
