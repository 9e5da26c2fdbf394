// Loading, saving and watching a settings file.
#include "file/FileBacking.h"

#include <unistd.h>

#include <cerrno>

#include "file/AtomicReplace.h"
#include "file/FileSystem.h"
#include "file/SaveLock.h"
#include "text/DocumentText.h"
#include "text/Printable.h"
#include "util/FailureNote.h"

namespace keytreestore {
namespace {
constexpr int kSaveLockTimeoutMs = 10000;

// Reads a file for parsing, its characters checked part by part as they arrive.
int ReadChecked(const std::string& path, ParseBuffer* bytes, FileIdentity* identity,
                TextChecker* characters) {
  const int result = ReadWholeFile(path, bytes, identity,
                                   [&](std::string_view read) { characters->Feed(read, false); });
  if (result == STORE_OK) characters->Feed(std::string_view(bytes->data(), bytes->size()), true);
  return result;
}
}  // namespace

int FileBacking::Load(SettingsDocument& document, StoreParseError* error) {
  ParseBuffer bytes;
  FileIdentity identity;
  TextChecker characters;
  int result = ReadChecked(diskPath_, &bytes, &identity, &characters);
  // A fault's line and column are counted in the bytes as read, which parsing in
  // place overwrites: a caller that asks for them has a copy parsed.
  if (result == STORE_OK && error != nullptr) {
    result = document.Parse(std::string(bytes.data(), bytes.size()), error);
  } else if (result == STORE_OK) {
    result = document.Parse(std::move(bytes), characters.result());
  }
  if (result == STORE_OK) identity_ = identity;
  return result;
}

int FileBacking::Save(SettingsDocument& document, const PendingChanges& changes) {
  const std::string target = ResolveLinks(diskPath_);
  SaveLock lock;
  if (lock.Acquire(target, kSaveLockTimeoutMs) != STORE_OK) return STORE_E_IO;
  RemoveStaleTemporaries(target);
  // A file that cannot be looked at is not taken for a missing one: that would
  // save over another writer's version and drop the file's permission bits.
  FileIdentity onDisk;
  if (StatExisting(target, &onDisk) != STORE_OK) return STORE_E_IO;
  // The rename would replace a file this process may not write, as long as it may
  // write the folder: a file made read-only on purpose is kept as it is.
  if (onDisk.exists && CurrentFileSystem().Access(target.c_str(), W_OK) != 0) {
    NoteFailure("%s: the file is not writable (%s)", Printable(target).c_str(),
                errno == EACCES ? "permission denied" : "cannot be checked");
    return STORE_E_IO;
  }
  SettingsDocument merged;
  const bool merging = onDisk.exists && !onDisk.SameVersion(identity_);
  if (merging) {
    // Another writer saved since this process loaded: start from its version and
    // put this process's own changes on top. The tree in memory changes only once
    // the merged version is safely on disk.
    ParseBuffer bytes;
    TextChecker characters;
    int result = ReadChecked(target, &bytes, &onDisk, &characters);
    if (result == STORE_OK) result = merged.Parse(std::move(bytes), characters.result());
    if (result == STORE_OK) result = ReplayChanges(changes, merged);
    if (result != STORE_OK) return result;
  }
  FileIdentity saved;
  const std::string bytes = (merging ? merged : document).Serialize();
  const int result = ReplaceFile(target, bytes, onDisk, &saved);
  if (result != STORE_OK) return result;
  if (merging) document.Swap(merged);
  identity_ = saved;
  return STORE_OK;
}

int FileBacking::UpdateCheck(int* updated) {
  *updated = StatIdentity(diskPath_).SameVersion(identity_) ? 0 : 1;
  return STORE_OK;
}

int FileBacking::Create(SettingsDocument& document, bool over) {
  const std::string target = ResolveLinks(diskPath_);
  FileIdentity onDisk;
  if (StatExisting(target, &onDisk) != STORE_OK) return STORE_E_IO;
  if (onDisk.exists && !over) {
    NoteFailure("%s: a file is there already", Printable(diskPath_).c_str());
    return STORE_E_IO;
  }
  if (onDisk.exists) {
    // What is to be replaced must be a file this process can read.
    ParseBuffer bytes;
    const int result = ReadWholeFile(target, &bytes, &onDisk);
    if (result != STORE_OK) return result;
  }
  const int result = document.MakeEmpty();
  if (result == STORE_OK) identity_ = onDisk;
  return result;
}

}  // namespace keytreestore
