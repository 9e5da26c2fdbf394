// The change history of a settings file: "<file>.history" beside it, one record
// (history/ChangeRecord.h) a line of JSON, appended by each save that changes a
// value, under the save lock, and flushed before the new settings file is put in
// place. A crash between the two leaves a record of a save that did not happen,
// which the records' file digests tell (history/History.h).
//
// A save reads the first and the last record only. A last line cut short is the
// record of a save that a crash or a kill stopped before it took effect: the next
// save cuts it off. A history whose first or last record does not read never
// stops a save: the save moves it aside to "<file>.history.damaged-<UTC time>" and
// starts a new one, its ids going on from the newest the damaged one names. A
// damaged line in between is reported by readers (ReadHistoryFile) and keeps the
// history from being trimmed.
#ifndef DICOMSETTINGS_STORE_FILE_HISTORYFILE_H
#define DICOMSETTINGS_STORE_FILE_HISTORYFILE_H

#include <sys/types.h>

#include <string>

#include "history/History.h"

namespace keytreestore {

std::string HistoryPathOf(const std::string& target);

// One save's record in the history of target. Used under the save lock.
class HistoryAppend {
 public:
  explicit HistoryAppend(const std::string& target) : path_(HistoryPathOf(target)) {}
  ~HistoryAppend();
  HistoryAppend(const HistoryAppend&) = delete;
  HistoryAppend& operator=(const HistoryAppend&) = delete;

  // Gives record the id after the newest kept and appends it (a new history file
  // is created with mode, less the umask). STORE_OK, or STORE_E_IO (noted) with the
  // history as it was.
  int Append(ChangeRecord* record, mode_t mode);
  // Makes the record appended durable, a new history's name too: false (noted)
  // when it cannot be.
  bool Flush();
  // Takes back the record appended: the save it records failed.
  void TakeBack();
  // Once the save took effect: when more than limit records and a tenth more are
  // held, rewrites the history with the newest limit. A failure leaves it longer.
  void Trim(size_t limit);

 private:
  std::string path_;
  int fd_ = -1;
  off_t before_ = 0;    // the size before the record
  std::string text_;    // the whole history, the record included
  size_t records_ = 0;  // lines in text_
};

// The history kept beside target (none: no entries), its faults with their lines,
// each entry marked against the settings file as it is now.
int ReadHistoryFile(const std::string& target, History* history);

}  // namespace keytreestore

#endif
