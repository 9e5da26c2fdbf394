// Telling one version of a settings file from another, reading a whole file,
// and the paths a save works on.
#ifndef DICOMSETTINGS_STORE_FILE_FILEVERSION_H
#define DICOMSETTINGS_STORE_FILE_FILEVERSION_H

#include <sys/stat.h>

#include <functional>
#include <string>
#include <string_view>

#include "text/ParseBuffer.h"

namespace keytreestore {

// What tells one version of a file on disk from another.
struct FileIdentity {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  struct timespec modified {};
  struct timespec changed {};
  mode_t mode = 0;
  uid_t owner = 0;
  gid_t group = 0;

  bool SameVersion(const FileIdentity& other) const;
};

FileIdentity IdentityOf(const struct stat& info);
// Identity of the file a path names now (following links); exists is false if none
// or if it cannot be told.
FileIdentity StatIdentity(const std::string& path);
// The same, telling a missing file (STORE_OK, exists false) from one that cannot be
// looked at (STORE_E_IO).
int StatExisting(const std::string& path, FileIdentity* identity);

// Reads a whole file into a parse buffer: STORE_OK, STORE_E_NO_FILE,
// STORE_E_TOO_LONG (a path the system refuses as too long), STORE_E_NO_MEMORY or
// STORE_E_IO. *identity is the identity of the very file read. The file is read
// in parts of at most kReadPart bytes, and arrived (when given) is called with
// all bytes so far after each, to look at them while they are in the cache.
constexpr size_t kReadPart = 256 * 1024;
int ReadWholeFile(const std::string& path, ParseBuffer* bytes, FileIdentity* identity,
                  const std::function<void(std::string_view)>& arrived = nullptr);

// The file a path finally names after following symbolic links, also where the
// last link leads to no file; the path itself when it names no link or the links
// loop.
std::string ResolveLinks(const std::string& path);

// The folder of a path: "." for a bare name, "/" for a name in the root.
std::string DirectoryOf(const std::string& path);

}  // namespace keytreestore

#endif
