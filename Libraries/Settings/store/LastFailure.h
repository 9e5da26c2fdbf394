// The last failure of a store call on each thread: the path it named, its result
// and what was noted of it (util/FailureNote.h), kept for StoreLastFailure.
#ifndef DICOMSETTINGS_STORE_LASTFAILURE_H
#define DICOMSETTINGS_STORE_LASTFAILURE_H

#include <cstddef>

#include "KeyTreeStore.h"

namespace keytreestore {

// Ends a public call: a failure is kept with its path and the thread's note; a
// success drops any note of a failure that was got over. Returns result.
int FinishCall(const wchar_t* path, int result);

// The result of the last failed call on this thread that named path (STORE_OK
// when there is none), with what went wrong in text (capacity bytes, NUL
// terminated, cut short at a character boundary; empty with STORE_OK).
int DescribeLastFailure(const wchar_t* path, char* text, size_t capacity);

}  // namespace keytreestore

#endif
