// Appending to, trimming and reading a settings file's history.
#include "file/HistoryFile.h"

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "KeyTreeStore.h"
#include "file/AtomicReplace.h"
#include "file/FileSystem.h"
#include "file/FileVersion.h"
#include "history/RecordHeader.h"
#include "text/Printable.h"

namespace keytreestore {
namespace {

// Reads the history at path (none: empty): STORE_OK, or what reading gives.
int ReadText(const std::string& path, std::string* text) {
  ParseBuffer bytes;
  FileIdentity identity;
  const int result = ReadWholeFile(path, &bytes, &identity);
  if (result == STORE_E_NO_FILE) {
    text->clear();
    return STORE_OK;
  }
  if (result == STORE_OK) text->assign(bytes.data(), bytes.size());
  return result;
}

// Calls fn(line number, line, cut) for every line of text; cut for a last line
// without its end.
template <class Fn>
void ForEachLine(std::string_view text, Fn fn) {
  size_t start = 0;
  for (long long number = 1; start < text.size(); ++number) {
    const size_t end = text.find('\n', start);
    const bool cut = end == std::string::npos;
    fn(number, text.substr(start, (cut ? text.size() : end) - start), cut);
    start = cut ? text.size() : end + 1;
  }
}

// Whether every line of a whole history looks like a record (by its braces).
bool AllRecords(std::string_view text) {
  bool all = true;
  ForEachLine(text, [&](long long, std::string_view line, bool) {
    all = all && line.size() >= 2 && line.front() == '{' && line.back() == '}';
  });
  return all;
}

// The newest id the readable records of a history name; 0 for none.
long long NewestId(std::string_view text) {
  long long newest = 0;
  ForEachLine(text, [&](long long, std::string_view line, bool) {
    ChangeRecord record;
    std::string why;
    if (RecordFromJson(std::string(line), &record, &why)) newest = std::max(newest, record.id);
  });
  return newest;
}

// Reads size bytes at offset of fd into *bytes: false (errno set) on failure.
bool ReadAt(FileSystem& fs, int fd, off_t offset, size_t size, std::string* bytes) {
  bytes->resize(size);
  for (size_t done = 0; done < size;) {
    const ssize_t n = fs.Pread(fd, &(*bytes)[done], size - done, offset + static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;  // the file shrank under the lock
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

// The ends of a history of size bytes: its first line, and its last line that
// ends, which ends at *whole (0 when no line ends). Read from the ends only, so
// that a save does not read the whole history.
bool ReadEnds(FileSystem& fs, int fd, off_t size, std::string* first, std::string* last,
              off_t* whole) {
  std::string bytes;
  *whole = 0;
  first->clear();
  last->clear();
  for (off_t part = 4096;; part *= 4) {
    const off_t start = size > part ? size - part : 0;
    if (!ReadAt(fs, fd, start, static_cast<size_t>(size - start), &bytes)) return false;
    const size_t end = bytes.rfind('\n');
    if (end == std::string::npos && start > 0) continue;
    if (end == std::string::npos) return true;  // no line ends
    const size_t begin = end == 0 ? std::string::npos : bytes.rfind('\n', end - 1);
    if (begin == std::string::npos && start > 0) continue;
    *whole = start + static_cast<off_t>(end) + 1;
    *last = bytes.substr(begin == std::string::npos ? 0 : begin + 1,
                         end - (begin == std::string::npos ? 0 : begin + 1));
    break;
  }
  for (off_t part = 4096;; part *= 4) {
    const size_t length = static_cast<size_t>(std::min(part, *whole));
    if (!ReadAt(fs, fd, 0, length, &bytes)) return false;
    const size_t end = bytes.find('\n');
    if (end != std::string::npos) {
      *first = bytes.substr(0, end);
      return true;
    }
  }
}

std::string DamagedName(const std::string& path) {
  const time_t now = time(nullptr);
  tm parts;
  gmtime_r(&now, &parts);
  char stamp[32];
  strftime(stamp, sizeof stamp, "%Y%m%dT%H%M%SZ", &parts);
  return path + ".damaged-" + stamp;
}

// Makes a new entry in the history's folder durable.
bool SyncFolder(FileSystem& fs, const std::string& path) {
  const std::string folder = DirectoryOf(path);
  const int dir = fs.Open(folder.c_str(), O_RDONLY | O_DIRECTORY, 0);
  if (dir < 0) return false;
  const bool synced = fs.FsyncDirectory(dir) == 0;
  fs.Close(dir);
  return synced;
}

}  // namespace

std::string HistoryPathOf(const std::string& target) {
  return target + ".history";
}

HistoryAppend::~HistoryAppend() {
  if (fd_ >= 0) CurrentFileSystem().Close(fd_);
}

int HistoryAppend::Append(ChangeRecord* record, mode_t mode) {
  FileSystem& fs = CurrentFileSystem();
  fd_ = fs.Open(path_.c_str(), O_RDWR | O_CREAT | O_APPEND | O_NOFOLLOW, mode & 0666);
  struct stat info;
  if (fd_ < 0 || fs.Fstat(fd_, &info) != 0) {
    NoteSystemFailure("open the history", path_, errno);
    return STORE_E_IO;
  }
  // A last line without its end is a record whose append was cut short, by a
  // crash or a kill: its save never took effect (the record is complete before the
  // settings file changes), so it goes. The first and the newest record are read;
  // ids go up by one a record, so they also say how many there are.
  std::string first;
  std::string last;
  off_t whole = 0;
  if (!ReadEnds(fs, fd_, info.st_size, &first, &last, &whole)) {
    NoteSystemFailure("read the history", path_, errno);
    return STORE_E_IO;
  }
  ChangeRecord oldest;
  ChangeRecord newest;
  std::string why;
  const bool readable =
      whole == 0 || (RecordFromJson(first, &oldest, &why) && RecordFromJson(last, &newest, &why) &&
                     newest.id >= oldest.id);
  if (!readable) {
    // Kept for a person to look at; the new history starts empty, its ids going
    // on from the newest the damaged one names.
    std::string text;
    if (ReadText(path_, &text) != STORE_OK) return STORE_E_IO;
    newest.id = NewestId(text);
    oldest.id = newest.id + 1;
    const std::string aside = DamagedName(path_);
    fs.Close(fd_);
    fd_ = -1;
    if (fs.Rename(path_.c_str(), aside.c_str()) != 0) {
      NoteSystemFailure("move the damaged history aside to", aside, errno);
      return STORE_E_IO;
    }
    whole = 0;
    fd_ = fs.Open(path_.c_str(), O_RDWR | O_CREAT | O_APPEND | O_NOFOLLOW, mode & 0666);
    if (fd_ < 0) {
      NoteSystemFailure("open the history", path_, errno);
      return STORE_E_IO;
    }
  }
  before_ = whole;
  if (whole < info.st_size && readable && fs.Ftruncate(fd_, whole) != 0) {
    NoteSystemFailure("cut the unfinished record from", path_, errno);
    return STORE_E_IO;
  }
  record->id = newest.id + 1;
  records_ = whole == 0 ? 1 : static_cast<size_t>(record->id - oldest.id + 1);
  const std::string line = RecordToJson(*record) + '\n';
  if (!WriteAll(fs, fd_, line.data(), line.size())) {
    NoteSystemFailure("write the record into", path_, errno);
    TakeBack();
    return STORE_E_IO;
  }
  return STORE_OK;
}

bool HistoryAppend::Flush() {
  if (fd_ < 0) return true;
  // A new history's name must be as durable as its record before the settings
  // file changes.
  FileSystem& fs = CurrentFileSystem();
  if (fs.Fsync(fd_) == 0 && (before_ != 0 || SyncFolder(fs, path_))) return true;
  NoteSystemFailure("flush the record in", path_, errno);
  return false;
}

void HistoryAppend::TakeBack() {
  if (fd_ < 0) return;
  FileSystem& fs = CurrentFileSystem();
  if (fs.Ftruncate(fd_, before_) == 0) fs.Fsync(fd_);
}

void HistoryAppend::Trim(size_t limit) {
  if (fd_ < 0 || records_ <= limit + limit / 10) return;
  // A damaged line in between is left for check and history to report.
  std::string text;
  if (ReadText(path_, &text) != STORE_OK || !AllRecords(text)) return;
  RemoveStaleTemporaries(path_);  // of a trim that stopped half-way
  size_t start = 0;
  for (size_t drop = records_ - limit; drop > 0; --drop) start = text.find('\n', start) + 1;
  FileIdentity old;
  FileIdentity saved;
  if (StatExisting(path_, &old) == STORE_OK) ReplaceFile(path_, text.substr(start), old, &saved);
}

int ReadHistoryFile(const std::string& target, History* history) {
  std::string text;
  int result = ReadText(HistoryPathOf(target), &text);
  if (result != STORE_OK) return result;
  ForEachLine(text, [&](long long number, std::string_view line, bool cut) {
    HistoryEntry entry;
    std::string why;
    if (cut) {
      history->faults.push_back({number,
                                 "cut short: a save stopped (or is under way) before its record "
                                 "was whole; the next save drops it"});
    } else if (RecordFromJson(std::string(line), &entry.record, &why)) {
      history->entries.push_back(std::move(entry));
    } else {
      history->faults.push_back({number, why});
    }
  });
  std::string current;
  result = ReadText(target, &current);
  if (result != STORE_OK) return result;
  MarkFileHistory(current.empty() ? std::string() : Digest(current), history);
  return STORE_OK;
}

}  // namespace keytreestore
