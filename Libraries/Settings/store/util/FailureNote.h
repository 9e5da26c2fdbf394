// What went wrong in the store call this thread is running, in words for a
// person ("open /etc/dicom/settings.xml: Permission denied"): noted where a fault
// is found, deep in a backing, and taken by the store's public functions when
// they return a failure (StoreLastFailure gives it to the caller).
//
// One note per thread, so that calls on other threads never mix their notes in.
// A note never holds a password, a token or the text of a key file: callers
// note what failed and where, never what was sent, and show outside texts as
// text/Printable.h does.
#ifndef DICOMSETTINGS_STORE_UTIL_FAILURENOTE_H
#define DICOMSETTINGS_STORE_UTIL_FAILURENOTE_H

#include <string>

namespace keytreestore {

// Longest note kept, in bytes; a longer one is cut at a character boundary.
constexpr size_t kMaxFailureNote = 480;

// Adds a part to this thread's note; parts are joined by "; ".
void NoteFailure(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Whether anything was noted since the note was last taken or cleared.
bool HasFailureNote() noexcept;
// The note so far, emptied.
std::string TakeFailureNote();
// Drops the note (a failure that was got over, such as an endpoint that did not
// answer before another did).
void ClearFailureNote() noexcept;

}  // namespace keytreestore

#endif
