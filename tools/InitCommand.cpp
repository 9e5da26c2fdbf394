// `init FILE [--force]`: a new settings file holding every area's keys, one entry
// in each list, with empty values, written through the section objects. The
// store opens only existing files, so the new file is built under a temporary
// name beside the target, from an empty document, and put in place whole: linked
// to the target name (which fails if a file appeared there) or, with --force,
// renamed over the old file, whose permission bits it keeps. Under an etcd prefix
// the store starts the empty tree itself (StoreCreate), and one save keeps it
// whole; with --force an existing prefix is opened and every key emptied.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "Commands.h"
#include "Diagnostics.h"
#include "SettingsFile.h"
#include "WideText.h"

namespace dicomsettings_tool {
namespace {

constexpr char kEmptyDocument[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Settings />\n";

// "dir/" of "dir/name", or "" for a bare name.
std::string DirectoryPrefix(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool WriteEmptyDocument(int fd) {
  const char* p = kEmptyDocument;
  size_t left = std::strlen(kEmptyDocument);
  while (left > 0) {
    const ssize_t n = write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    p += n;
    left -= static_cast<size_t>(n);
  }
  return fsync(fd) == 0;
}

// A new file beside target holding the empty document, with permission bits
// mode; its name in *temporary. False (errno set) on failure.
bool CreateTemporary(const std::string& target, mode_t mode, std::string* temporary) {
  *temporary = DirectoryPrefix(target) + ".init-XXXXXX";
  const int fd = mkstemp(temporary->data());
  if (fd < 0) return false;
  const bool written = fchmod(fd, mode & 07777) == 0 && WriteEmptyDocument(fd);
  close(fd);
  if (!written) unlink(temporary->c_str());
  return written;
}

// Writes an empty value under every key of level and of entry 0 of its lists.
int WriteEmpty(const ObjectLevel& level) {
  for (int v = 0; v < level.valueCount; ++v) {
    const int result = level.Proxy(level.values[v]).WriteText(L"");
    if (result != STORE_OK) return result;
  }
  for (int l = 0; l < level.listCount; ++l) {
    const int result = WriteEmpty(level.Entry(level.lists[l], 0));
    if (result != STORE_OK) return result;
  }
  return STORE_OK;
}

// Fills the empty document at file with every area and saves it; false with *why.
bool FillFile(const std::string& file, std::string* why) {
  SettingsFile settings(file);
  if (!settings.Open(why)) return false;
  for (const SectionSchema* area : AllAreas()) {
    const std::optional<ObjectLevel> level = settings.Level(*area);
    const int result = level ? WriteEmpty(*level) : STORE_E_NOT_OPEN;
    if (result != STORE_OK) {
      *why = std::string(area->area) + ": " + StoreResultText(result);
      return false;
    }
  }
  return settings.Save(why);
}

// Makes a new name in target's directory durable.
void SyncDirectoryOf(const std::string& target) {
  const std::string prefix = DirectoryPrefix(target);
  const int fd = open(prefix.empty() ? "." : prefix.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// The permission bits of a new file under the process's umask.
mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// init on an etcd prefix: nothing is kept until the one save at the end.
int InitCluster(const std::string& file, bool force) {
  std::wstring path;
  if (!ToWide(file, &path)) return ReportError(kExitUsage, file, "not a usable path");
  const int created = StoreCreate(path.c_str());
  if (created != STORE_OK && !force) {
    return ReportError(
        kExitUsage, file,
        "settings kept there already, or the cluster is unreachable; give --force to empty them");
  }
  std::string why;
  const bool done = FillFile(file, &why);
  if (created == STORE_OK) StoreClose(path.c_str(), 0);
  return done ? kExitSuccess : ReportError(kExitUsage, file, why);
}

}  // namespace

int RunInit(const std::string& file, bool force) {
  if (IsClusterPath(file)) return InitCluster(file, force);
  const char* const kExists = "file exists; give --force to replace it";
  struct stat existing;
  const bool exists = lstat(file.c_str(), &existing) == 0;
  if (exists && !force) return ReportError(kExitUsage, file, kExists);
  // A link is followed: the file it points to is replaced.
  char resolved[PATH_MAX];
  const std::string target =
      exists && realpath(file.c_str(), resolved) != nullptr ? std::string(resolved) : file;
  struct stat old;
  const bool reachable = exists && stat(target.c_str(), &old) == 0;
  if (reachable && !S_ISREG(old.st_mode))
    return ReportError(kExitUsage, file, "not a regular file");
  const mode_t mode = reachable ? old.st_mode : NewFileMode();
  std::string temporary;
  if (!CreateTemporary(target, mode, &temporary)) {
    return ReportError(kExitUsage, file, std::strerror(errno));
  }
  std::string why;
  bool done = FillFile(temporary, &why);
  unlink((temporary + ".lock").c_str());
  bool renamed = false;
  if (done) {
    renamed = exists && rename(temporary.c_str(), target.c_str()) == 0;
    done = renamed || (!exists && link(temporary.c_str(), target.c_str()) == 0);
    if (!done) why = errno == EEXIST ? kExists : std::strerror(errno);
  }
  if (!renamed) unlink(temporary.c_str());
  if (done) SyncDirectoryOf(target);
  return done ? kExitSuccess : ReportError(kExitUsage, file, why);
}

}  // namespace dicomsettings_tool
