// The crash-safe replacement of a settings file: never a half-written file.
#ifndef DICOMSETTINGS_STORE_FILE_ATOMICREPLACE_H
#define DICOMSETTINGS_STORE_FILE_ATOMICREPLACE_H

#include <functional>
#include <string>

#include "file/FileVersion.h"

namespace keytreestore {

// Replaces target with bytes: a temporary file in the same directory is written,
// given the old file's owner (where allowed) and permission bits, fsynced, renamed
// over target, and the directory is fsynced. STORE_OK with *saved the identity of
// the new file, or STORE_E_IO; on failure the temporary file is gone and target is
// the old version again (a failure after the rename puts it back from a second link
// made beforehand; only where the file system refuses hard links can the new version
// stay). alongside (when given) is called once the temporary file is written and
// before it is flushed, to flush what must be durable with it (one flush of the
// file system's journal then serves both); false from it fails the replacement.
int ReplaceFile(const std::string& target, const std::string& bytes, const FileIdentity& old,
                FileIdentity* saved, const std::function<bool()>& alongside = nullptr);

// Removes temporary and backup files that an interrupted save left beside target.
// Call only while holding the save lock.
void RemoveStaleTemporaries(const std::string& target);

}  // namespace keytreestore

#endif
