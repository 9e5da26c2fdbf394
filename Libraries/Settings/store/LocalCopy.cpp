// Keeping and reading the local copy of an etcd source's settings.
#include "LocalCopy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "KeyTreeStore.h"
#include "etcd/Base64.h"
#include "file/AtomicReplace.h"
#include "file/FileSystem.h"
#include "file/FileVersion.h"
#include "file/SaveLock.h"
#include "text/Printable.h"
#include "util/FailureNote.h"

namespace keytreestore {
namespace {

constexpr char kFolderVariable[] = "DICOMSETTINGS_CACHE_DIR";
constexpr char kSystemFolder[] = "/var/cache/dicomsettings";
constexpr char kScheme[] = "etcd://";
// The processing instruction that holds the record, and how it starts in a copy:
// on the line after the XML declaration.
constexpr char kRecordName[] = "dicomsettings-copy";
constexpr char kRecordStart[] = "\n<?dicomsettings-copy ";
// How much of the source a file name shows: with the hash and ".xml" (21 bytes),
// the lock's ".lock" and a temporary's ".tmp.<suffix>.old" (at most 32) the
// longest name stays below 255 bytes.
constexpr size_t kShownSource = 180;
// Enough of a copy's start for its record, whose source (base64 of a path of at
// most STORE_MAX_PATH_LENGTH characters, 4 bytes each in UTF-8) takes up to 22 KB.
constexpr size_t kRecordBytes = 32 * 1024;
// Another process writing the same copy holds its lock for one write.
constexpr int kLockTimeoutMs = 1000;

// FNV-1a: a hash that never changes between builds, so that a name is the same
// for every process and every version of the library.
uint64_t SourceHash(const std::string& source) {
  uint64_t hash = 0xCBF29CE484222325ull;
  for (const char c : source) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001B3ull;
  return hash;
}

std::string FileNameOf(const std::string& source) {
  std::string name;
  for (size_t i = sizeof kScheme - 1; i < source.size() && name.size() < kShownSource; ++i) {
    const char c = source[i];
    const bool safe = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '.' || c == '-';
    name += safe ? c : '_';
  }
  char tail[32];
  std::snprintf(tail, sizeof tail, "-%016llx.xml",
                static_cast<unsigned long long>(SourceHash(source)));
  return name + tail;
}

// The folder copies are kept in, as the environment names it now; empty, noted,
// where it names none.
std::string CopyFolder() {
  const char* named = std::getenv(kFolderVariable);
  if (named != nullptr && named[0] != '\0') {
    if (named[0] == '/') return named;
    NoteFailure("%s is not an absolute path: no local copy is used", kFolderVariable);
    return std::string();
  }
  FileSystem& fs = CurrentFileSystem();
  if (fs.Access(kSystemFolder, W_OK | X_OK) == 0 ||
      (errno == ENOENT && fs.Access(DirectoryOf(kSystemFolder).c_str(), W_OK | X_OK) == 0)) {
    return kSystemFolder;
  }
  const char* cache = std::getenv("XDG_CACHE_HOME");
  if (cache != nullptr && cache[0] == '/') return std::string(cache) + "/dicomsettings";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return std::string(home) + "/.cache/dicomsettings";
  NoteFailure("no folder for local copies: neither %s nor HOME is set", kFolderVariable);
  return std::string();
}

// Creates folder, and the folders above it that are missing, with mode 0700.
bool MakeFolder(const std::string& folder) {
  if (mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST) return true;
  if (errno == ENOENT && folder != "/") {
    if (!MakeFolder(DirectoryOf(folder))) return false;
    if (mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST) return true;
  }
  NoteSystemFailure("create the folder", folder, errno);
  return false;
}

// Why a folder or file another user could have written is not to be trusted
// ("is a symbolic link"); null when it may be.
const char* Untrusted(mode_t mode, uid_t owner) {
  if (S_ISLNK(mode)) return "is a symbolic link";
  if (owner != geteuid() && owner != 0) return "belongs to another user";
  if ((mode & (S_IWGRP | S_IWOTH)) != 0) return "may be written by group or others";
  return nullptr;
}

int Ignored(const std::string& file, const char* what, const char* why) {
  NoteFailure("local copy %s ignored: %s %s", Printable(file).c_str(), what, why);
  return STORE_E_IO;
}

// STORE_OK when folder is one copies may be kept in and read from; otherwise
// notes why the copy at file is not used.
int CheckFolder(const std::string& folder, const std::string& file) {
  struct stat info;
  if (lstat(folder.c_str(), &info) != 0) {
    NoteSystemFailure("look at", folder, errno);
    return STORE_E_IO;
  }
  const char* why = S_ISDIR(info.st_mode) || S_ISLNK(info.st_mode)
                        ? Untrusted(info.st_mode, info.st_uid)
                        : "is not a folder";
  return why == nullptr ? STORE_OK : Ignored(file, "its folder", why);
}

// The value of name="..." in a processing instruction's text; empty when missing.
std::string Attribute(const std::string& text, const char* name) {
  const std::string start = std::string(" ") + name + "=\"";
  const std::string spaced = " " + text;
  const size_t at = spaced.find(start);
  if (at == std::string::npos) return std::string();
  const size_t begin = at + start.size();
  const size_t end = spaced.find('"', begin);
  return end == std::string::npos ? std::string() : spaced.substr(begin, end - begin);
}

bool OnlyOf(const std::string& text, const char* characters) {
  return !text.empty() && text.find_first_not_of(characters) == std::string::npos;
}

// The record at the start of a copy's text, and its source as recorded (base64):
// false when the line after the declaration holds none or one that is malformed.
bool ReadRecord(const std::string& text, CopyRecord* record, std::string* source) {
  const size_t line = text.find('\n');
  if (line == std::string::npos || text.compare(line, sizeof kRecordStart - 1, kRecordStart) != 0) {
    return false;
  }
  const size_t begin = line + sizeof kRecordStart - 1;
  const size_t end = text.find("?>", begin);
  if (end == std::string::npos) return false;
  const std::string fields = text.substr(begin, end - begin);
  const std::string revision = Attribute(fields, "revision");
  record->kept = Attribute(fields, "kept");
  *source = Attribute(fields, "source");
  if (!OnlyOf(revision, "0123456789") || revision.size() > 18 ||
      !OnlyOf(record->kept, "0123456789-:TZ") ||
      record->kept.size() >= sizeof(StoreCopyStatus{}.kept)) {
    return false;
  }
  record->revision = std::atoll(revision.c_str());
  return record->revision > 0;
}

// The record's line for a copy of source at revision, written now.
std::string RecordLine(const std::string& source, long long revision) {
  const time_t now = time(nullptr);
  struct tm utc;
  char kept[sizeof(StoreCopyStatus{}.kept)] = "";
  if (gmtime_r(&now, &utc) != nullptr) strftime(kept, sizeof kept, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return std::string("<?") + kRecordName + " revision=\"" + std::to_string(revision) +
         "\" kept=\"" + kept + "\" source=\"" + EncodeBase64(source) + "\"?>\n";
}

// Whether file is a copy this process would read that holds revision of source:
// one that need not be written again. Only the start of the file is read.
bool Holds(const std::string& file, const std::string& source, long long revision) {
  FileSystem& fs = CurrentFileSystem();
  const int fd = fs.Open(file.c_str(), O_RDONLY | O_NOFOLLOW, 0);
  if (fd < 0) return false;
  struct stat info;
  std::string start(kRecordBytes, '\0');
  ssize_t n = -1;
  if (fs.Fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
      Untrusted(info.st_mode, info.st_uid) == nullptr) {
    n = fs.Read(fd, &start[0], start.size());
  }
  fs.Close(fd);
  start.resize(n > 0 ? static_cast<size_t>(n) : 0);
  CopyRecord held;
  std::string recorded;
  return ReadRecord(start, &held, &recorded) && held.revision == revision &&
         recorded == EncodeBase64(source);
}

}  // namespace

LocalCopy::LocalCopy(const EtcdPath& source) : source_(kScheme) {
  for (size_t i = 0; i < source.endpoints.size(); ++i) {
    source_ += (i > 0 ? "," : "") + source.endpoints[i];
  }
  source_ += source.prefix;
  fileName_ = FileNameOf(source_);
}

int LocalCopy::Keep(const SettingsDocument& document, long long revision) const {
  const std::string folder = CopyFolder();
  if (folder.empty() || !MakeFolder(folder)) return STORE_E_IO;
  const std::string file = folder + "/" + fileName_;
  if (CheckFolder(folder, file) != STORE_OK) return STORE_E_IO;
  if (Holds(file, source_, revision)) return STORE_OK;
  SaveLock lock;
  if (lock.Acquire(file, kLockTimeoutMs) != STORE_OK) return STORE_E_IO;
  RemoveStaleTemporaries(file);
  // Serialize starts with the XML declaration's line (pugixml writes one where the
  // tree has none); the record goes on the next.
  std::string bytes = document.Serialize();
  const size_t line = bytes.find('\n');
  bytes.insert(line == std::string::npos ? bytes.size() : line + 1, RecordLine(source_, revision));
  // The new file takes the owner and bits of the version it replaces: a copy's
  // are always this process's user and 0600, whatever was there before.
  FileIdentity mine;
  mine.exists = true;
  mine.mode = S_IFREG | 0600;
  mine.owner = geteuid();
  mine.group = getegid();
  FileIdentity saved;
  return ReplaceFile(file, bytes, mine, &saved);
}

int LocalCopy::Read(SettingsDocument* document, CopyRecord* record) const {
  const std::string folder = CopyFolder();
  if (folder.empty()) return STORE_E_NO_FILE;
  const std::string file = folder + "/" + fileName_;
  struct stat info;
  if (lstat(file.c_str(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return STORE_E_NO_FILE;
    char text[128];
    return Ignored(file, "it cannot be looked at:", strerror_r(errno, text, sizeof text));
  }
  if (CheckFolder(folder, file) != STORE_OK) return STORE_E_IO;
  if (S_ISLNK(info.st_mode)) return Ignored(file, "it", Untrusted(info.st_mode, info.st_uid));
  ParseBuffer bytes;
  FileIdentity identity;
  int result = ReadWholeFile(file, &bytes, &identity);
  if (result == STORE_E_NO_MEMORY) return result;
  if (result != STORE_OK) return Ignored(file, "it", "cannot be read");
  // The owner and bits of the very file read.
  if (const char* why = Untrusted(identity.mode, identity.owner)) return Ignored(file, "it", why);
  const std::string text(bytes.data(), bytes.size());
  CopyRecord held;
  std::string source;
  if (!ReadRecord(text, &held, &source)) return Ignored(file, "it", "holds no valid record");
  if (source != EncodeBase64(source_)) return Ignored(file, "it", "is the copy of another source");
  SettingsDocument fresh;
  StoreParseError fault;
  result = fresh.Parse(text, &fault);
  if (result == STORE_E_PARSE) {
    NoteFailure("local copy %s ignored: it does not parse (line %d, column %d: %s)",
                Printable(file).c_str(), fault.line, fault.column, fault.text);
    return STORE_E_IO;
  }
  if (result != STORE_OK) return result;
  // The record is no setting: the tree read is the tree kept.
  pugi::xml_node top = fresh.Root().parent();
  const pugi::xml_node kept = top.child(kRecordName);
  if (kept.type() != pugi::node_pi) return Ignored(file, "it", "holds no valid record");
  top.remove_child(kept);
  document->Swap(fresh);
  *record = held;
  return STORE_OK;
}

}  // namespace keytreestore
