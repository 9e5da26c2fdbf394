// Loading, saving and watching a settings file.
#include "file/FileBacking.h"

#include <unistd.h>

#include <cerrno>

#include "file/AtomicReplace.h"
#include "file/FileSystem.h"
#include "file/HistoryFile.h"
#include "file/SaveLock.h"
#include "history/RecordHeader.h"
#include "history/TreeDiff.h"
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

// Refuses a file whose encoding cannot be read: STORE_E_PARSE, noted and in *error.
int EncodingFault(const std::string& path, const std::string& text, size_t offset,
                  const std::string& what, StoreParseError* error) {
  DescribeParseFault(text, offset, what.c_str(), error);
  NoteFailure("%s: %s", Printable(path).c_str(), what.c_str());
  return STORE_E_PARSE;
}

// Tells the encoding of a file's bytes and, when it is not UTF-8, decodes them
// into *text (lines and characters as they stand in the file, so that faults are
// placed as in it); for UTF-8, *text stays empty: the bytes are the text.
int DecodeBytes(const std::string& path, const char* bytes, size_t size, FileEncoding* encoding,
                std::string* text, StoreParseError* error) {
  std::string why;
  size_t offset = 0;
  if (FileEncoding::Sniff(bytes, size, encoding, &why, &offset) != STORE_OK) {
    return EncodingFault(path, std::string(bytes, size), offset, why, error);
  }
  if (!encoding->IsUtf8() && !encoding->Decode(std::string(bytes, size), text, &offset)) {
    return EncodingFault(path, *text, text->size(),
                         "bytes that are not " + encoding->Name() + ", as declared", error);
  }
  return STORE_OK;
}

// Reads the file at path into *document, decoding it when it is not UTF-8, and
// gives its identity and encoding, and (when digest is not null) its bytes' digest.
int ReadDocument(const std::string& path, SettingsDocument* document, FileIdentity* identity,
                 FileEncoding* encoding, StoreParseError* error, std::string* digest = nullptr) {
  ParseBuffer bytes;
  TextChecker characters;
  int result = ReadChecked(path, &bytes, identity, &characters);
  if (result == STORE_OK && digest != nullptr) {
    *digest = Digest(std::string_view(bytes.data(), bytes.size()));
  }
  std::string text;
  if (result == STORE_OK)
    result = DecodeBytes(path, bytes.data(), bytes.size(), encoding, &text, error);
  if (result != STORE_OK) return result;
  if (!encoding->IsUtf8()) return document->Parse(text, error);
  // A fault's line and column are counted in the bytes as read, which parsing in
  // place overwrites: a caller that asks for them has a copy parsed.
  if (error != nullptr) return document->Parse(std::string(bytes.data(), bytes.size()), error);
  return document->Parse(std::move(bytes), characters.result());
}
}  // namespace

int ReadFileText(const std::string& path, std::string* text, std::string* encodingName) {
  ParseBuffer bytes;
  FileIdentity identity;
  FileEncoding encoding;
  std::string decoded;
  int result = ReadWholeFile(path, &bytes, &identity);
  if (result == STORE_OK) {
    result = DecodeBytes(path, bytes.data(), bytes.size(), &encoding, &decoded, nullptr);
  }
  if (result != STORE_OK) return result;
  *text = encoding.IsUtf8() ? std::string(bytes.data(), bytes.size()) : std::move(decoded);
  *encodingName = encoding.Name();
  return STORE_OK;
}

int FileBacking::Load(SettingsDocument& document, StoreParseError* error) {
  FileIdentity identity;
  FileEncoding encoding;
  const int result = ReadDocument(diskPath_, &document, &identity, &encoding, error);
  if (result != STORE_OK) return result;
  identity_ = identity;
  encoding_ = encoding;
  digest_.clear();
  replacing_ = false;
  return STORE_OK;
}

bool FileBacking::Holds(const char* utf8, size_t size) const {
  return encoding_.Holds(utf8, size);
}

bool FileBacking::HoldsNames(const ParsedKey& key) const {
  if (encoding_.IsUtf8()) return true;
  const std::string names = key.Canonical(key.size());
  return encoding_.Holds(names.data(), names.size());
}

int FileBacking::SetEncoding(SettingsDocument& document, const std::string& name) {
  FileEncoding encoding;
  std::string bytes;
  if (!FileEncoding::Named(name, &encoding)) {
    NoteFailure("the encoding \"%s\" is not one this system can write", Printable(name).c_str());
    return STORE_E_BAD_ARGUMENT;
  }
  // The declaration is ASCII, which every encoding here holds: the tree is
  // checked before it names the new encoding.
  if (!encoding.Encode(document.Serialize(), &bytes)) {
    NoteFailure("%s cannot hold every character of %s", encoding.Name().c_str(),
                Printable(diskPath_).c_str());
    return STORE_E_BAD_ARGUMENT;
  }
  if (!document.DeclareEncoding(encoding.Name().c_str())) return STORE_E_NO_MEMORY;
  encoding_ = encoding;
  return STORE_OK;
}

int FileBacking::Save(SettingsDocument& document, const PendingChanges& changes,
                      const std::optional<std::string>& reason) {
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
  // What the record's old values come from: the areas changed as they were
  // before their first change, or the version on disk whole when it is not the
  // tree's own (another writer's, or settings the tree was started anew over).
  // A save with no change of its own writes no record.
  const size_t limit = HistoryLimit();
  const bool recording = limit > 0 && !changes.empty();
  const bool whole = onDisk.exists && (replacing_ || !onDisk.SameVersion(identity_));
  SettingsDocument kept;
  std::string keptDigest = onDisk.exists && onDisk.SameVersion(identity_) ? digest_ : "";
  if (recording && whole) {
    // Settings that do not parse (a file replaced through StoreCreateOver) count
    // as none: every value saved is new.
    FileEncoding keptEncoding;
    const int result = ReadDocument(target, &kept, &onDisk, &keptEncoding, nullptr, &keptDigest);
    if (result == STORE_E_PARSE) ClearFailureNote();
    if (result != STORE_OK && result != STORE_E_PARSE) return result;
  } else if (recording && onDisk.exists && keptDigest.empty()) {
    ParseBuffer bytes;
    const int result = ReadWholeFile(target, &bytes, &onDisk);
    if (result != STORE_OK) return result;
    keptDigest = Digest(std::string_view(bytes.data(), bytes.size()));
  }
  SettingsDocument merged;
  FileEncoding encoding = encoding_;
  const bool merging = onDisk.exists && !onDisk.SameVersion(identity_);
  if (merging) {
    // Another writer saved since this process loaded: start from its version and
    // put this process's own changes on top. The tree in memory changes only once
    // the merged version is safely on disk.
    int result = ReadDocument(target, &merged, &onDisk, &encoding, nullptr);
    if (result == STORE_OK) result = ReplayChanges(changes, merged);
    if (result != STORE_OK) return result;
  }
  FileIdentity saved;
  std::string bytes = (merging ? merged : document).Serialize();
  if (!encoding.IsUtf8() && !encoding.Encode(std::string(bytes), &bytes)) {
    NoteFailure("%s: a value holds a character %s cannot hold", Printable(target).c_str(),
                encoding.Name().c_str());
    return STORE_E_BAD_ARGUMENT;
  }
  HistoryAppend history(target);
  ChangeRecord record;
  if (recording && whole) {
    DiffTrees(kept.Root(), (merging ? merged : document).Root(), &record.changes);
  } else if (recording) {
    DiffAreas(changes.AreasKept(), changes.AreasBefore(), document.Root(), &record.changes);
  }
  if (!record.changes.empty()) {
    FillRecordHeader(reason, &record);
    record.before = keptDigest;
    record.after = Digest(bytes);
    const int result = history.Append(&record, onDisk.exists ? onDisk.mode : 0666);
    if (result != STORE_OK) return result;
  }
  // The record and the new file are flushed together, before the file is put in place.
  const int result =
      ReplaceFile(target, bytes, onDisk, &saved, [&history] { return history.Flush(); });
  if (result != STORE_OK) {
    history.TakeBack();
    return result;
  }
  history.Trim(limit);
  if (merging) document.Swap(merged);
  digest_ = record.after;
  replacing_ = false;
  identity_ = saved;
  encoding_ = encoding;
  return STORE_OK;
}

int FileBacking::ReadHistory(History* history) {
  history->limit = HistoryLimit();
  const int result = ReadHistoryFile(ResolveLinks(diskPath_), history);
  if (result == STORE_OK) KeepNewest(history->limit, history);
  return result;
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
  digest_.clear();
  replacing_ = onDisk.exists;
  encoding_ = FileEncoding();
  return result;
}

}  // namespace keytreestore
