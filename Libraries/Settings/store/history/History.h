// A history as a reader sees it: the records kept, oldest first, each marked
// with what the settings show of it, and the lines that are no record.
#ifndef DICOMSETTINGS_STORE_HISTORY_HISTORY_H
#define DICOMSETTINGS_STORE_HISTORY_HISTORY_H

#include <string>
#include <vector>

#include "history/ChangeRecord.h"

namespace keytreestore {

struct HistoryEntry {
  ChangeRecord record;
  bool saved = true;     // false: the save it records never took effect
  bool outside = false;  // the settings were changed by other means after it
};

struct History {
  std::vector<HistoryEntry> entries;  // oldest first
  std::vector<HistoryFault> faults;
  size_t limit = 0;  // how many records are kept
};

// Marks the entries of a file's history by the digests their records hold: a
// record whose file a later record (or the file now, digest current) does not
// start from, while its own starting file is, was written by a save that stopped
// before it put its file in place.
void MarkFileHistory(const std::string& current, History* history);

// Keeps only the newest limit entries.
void KeepNewest(size_t limit, History* history);

// The history as JSON text, newest record first (KeyTreeStore.h, StoreReadHistory).
std::string HistoryToJson(const History& history);

}  // namespace keytreestore

#endif
