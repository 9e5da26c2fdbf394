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

// What a scan of the history's text finds.
struct Scan {
  size_t lines = 0;
  long long newest = 0;  // the newest id a readable line names
  bool damaged = false;
};

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
void ForEachLine(const std::string& text, Fn fn) {
  size_t start = 0;
  for (long long number = 1; start < text.size(); ++number) {
    const size_t end = text.find('\n', start);
    const bool cut = end == std::string::npos;
    fn(number, text.substr(start, (cut ? text.size() : end) - start), cut);
    start = cut ? text.size() : end + 1;
  }
}

// Every line is a record and the last one ends: checked cheaply by its braces,
// and the newest id read from the last line (from every line of a damaged one).
Scan ScanText(const std::string& text) {
  Scan scan;
  std::string last;
  ForEachLine(text, [&](long long, const std::string& line, bool cut) {
    ++scan.lines;
    if (cut || line.size() < 2 || line.front() != '{' || line.back() != '}') scan.damaged = true;
    last = line;
  });
  ChangeRecord record;
  std::string why;
  if (!scan.damaged && scan.lines > 0) {
    if (RecordFromJson(last, &record, &why)) scan.newest = record.id;
    scan.damaged = scan.newest == 0;
  }
  if (!scan.damaged) return scan;
  ForEachLine(text, [&](long long, const std::string& line, bool) {
    if (RecordFromJson(line, &record, &why)) scan.newest = std::max(scan.newest, record.id);
  });
  return scan;
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
  RemoveStaleTemporaries(path_);
  if (ReadText(path_, &text_) != STORE_OK) return STORE_E_IO;
  const Scan scan = ScanText(text_);
  if (scan.damaged) {
    // Kept for a person to look at; the new history starts empty.
    const std::string aside = DamagedName(path_);
    if (fs.Rename(path_.c_str(), aside.c_str()) != 0) {
      NoteSystemFailure("move the damaged history aside to", aside, errno);
      return STORE_E_IO;
    }
    text_.clear();
  }
  records_ = scan.damaged ? 0 : scan.lines;
  fd_ = fs.Open(path_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW, mode & 0666);
  if (fd_ < 0) {
    NoteSystemFailure("open the history", path_, errno);
    return STORE_E_IO;
  }
  before_ = static_cast<off_t>(text_.size());
  record->id = scan.newest + 1;
  const std::string line = RecordToJson(*record) + '\n';
  // A new history's name must be as durable as its record before the settings
  // file changes.
  const bool ok = WriteAll(fs, fd_, line.data(), line.size()) && fs.Fsync(fd_) == 0 &&
                  (before_ != 0 || SyncFolder(fs, path_));
  if (!ok) {
    NoteSystemFailure("write the record into", path_, errno);
    TakeBack();
    return STORE_E_IO;
  }
  text_ += line;
  ++records_;
  return STORE_OK;
}

void HistoryAppend::TakeBack() {
  if (fd_ < 0) return;
  FileSystem& fs = CurrentFileSystem();
  if (fs.Ftruncate(fd_, before_) == 0) fs.Fsync(fd_);
}

void HistoryAppend::Trim(size_t limit) {
  if (fd_ < 0 || records_ <= limit + limit / 10) return;
  size_t start = 0;
  for (size_t drop = records_ - limit; drop > 0; --drop) start = text_.find('\n', start) + 1;
  FileIdentity old;
  FileIdentity saved;
  if (StatExisting(path_, &old) != STORE_OK) return;
  ReplaceFile(path_, text_.substr(start), old, &saved);
}

int ReadHistoryFile(const std::string& target, History* history) {
  std::string text;
  int result = ReadText(HistoryPathOf(target), &text);
  if (result != STORE_OK) return result;
  ForEachLine(text, [&](long long number, const std::string& line, bool cut) {
    HistoryEntry entry;
    std::string why;
    if (cut) {
      history->faults.push_back({number, "cut short: the line has no end"});
    } else if (RecordFromJson(line, &entry.record, &why)) {
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
