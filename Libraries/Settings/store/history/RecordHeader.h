// What a change record says of the save besides its values: the time, the user,
// the host, the program and the reason; and how many records a history keeps.
#ifndef DICOMSETTINGS_STORE_HISTORY_RECORDHEADER_H
#define DICOMSETTINGS_STORE_HISTORY_RECORDHEADER_H

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "history/ChangeRecord.h"

namespace keytreestore {

// Default of the number of records a history keeps.
constexpr size_t kDefaultHistoryLimit = 1000;
// Most records a history may be set to keep.
constexpr size_t kMaxHistoryLimit = 1000000;

// The number of records a history keeps: DICOMSETTINGS_HISTORY_LIMIT (a whole
// number from 0, which keeps and writes none, to kMaxHistoryLimit), else the
// default. Read at each save.
size_t HistoryLimit();

// Fills the record's time, user, uid, host, program and pid for a save now, and
// its reason: the one given, else DICOMSETTINGS_CHANGE_REASON when set and not
// empty, else none. Nothing else of the environment goes into a record.
void FillRecordHeader(const std::optional<std::string>& reason, ChangeRecord* record);

// A digest of a settings file's bytes, as 16 hex digits (64 bits, eight bytes a
// step): it tells one version from another, it proves nothing against a forger.
std::string Digest(std::string_view bytes);

}  // namespace keytreestore

#endif
