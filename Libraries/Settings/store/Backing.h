// Where an open settings tree is kept: a file, or a prefix in an etcd cluster.
// The store chooses the backing once, when a path is first opened, from the form
// of the path, and from then on only calls through this interface.
//
// A backing is used by one thread at a time (the open tree's lock is held around
// every call).
#ifndef DICOMSETTINGS_STORE_BACKING_H
#define DICOMSETTINGS_STORE_BACKING_H

#include <memory>
#include <optional>
#include <string>

#include "KeyTreeStore.h"
#include "history/History.h"
#include "history/RecordHeader.h"
#include "tree/PendingChanges.h"
#include "tree/SettingsDocument.h"

namespace keytreestore {

class Backing {
 public:
  virtual ~Backing() = default;

  // Reads the kept settings into document and takes them as the version last
  // loaded. On failure document stays as it was; *error (when not null) says where
  // the kept settings are malformed.
  virtual int Load(SettingsDocument& document, StoreParseError* error) = 0;

  // Makes document's values kept, all at once or not at all. When another writer
  // saved since the version last loaded or saved, its version is the base and
  // changes are replayed on top of it; on success document holds what was saved.
  // On failure document and the kept settings stay as they were. A save that
  // changes a value keeps a record of it (history/ChangeRecord.h) with the
  // settings, in the same step: the reason given (none: the environment's) goes in.
  virtual int Save(SettingsDocument& document, const PendingChanges& changes,
                   const std::optional<std::string>& reason) = 0;

  // The change history kept with the settings: STORE_OK with *history filled
  // (nothing for a backing that keeps none), or what reading it gives.
  virtual int ReadHistory(History* history) {
    history->limit = HistoryLimit();
    return STORE_OK;
  }

  // *updated = 1 when the kept settings are no longer the version last loaded or
  // saved, else 0.
  virtual int UpdateCheck(int* updated) = 0;

  // The etcd revision the settings last loaded or saved are at, for a watch to go
  // on from; 0 where there is none (a file, settings served from a local copy).
  virtual long long KeptRevision() const { return 0; }

  // Starts an empty tree: STORE_OK with document holding an empty document
  // element, or the result that says why not (document as it was). Where settings
  // are kept already that is STORE_E_IO, unless over is set: then they are read
  // (a failure to read them is the result) and taken as the version last loaded,
  // so that the next save replaces them.
  virtual int Create(SettingsDocument& document, bool over) = 0;

  // Whether the tree this backing last gave was read from a local copy of the
  // settings rather than from where they are kept, and which copy (see
  // StoreGetCopyStatus). A backing that keeps no copy says "not served".
  virtual void CopyStatus(StoreCopyStatus* status) const { *status = StoreCopyStatus{}; }

  // Whether a value (UTF-8) can be kept as it is: a file in a legacy encoding
  // cannot hold every character.
  virtual bool Holds(const char* /*utf8*/, size_t /*size*/) const { return true; }
  // The same for the element names of a key.
  virtual bool HoldsNames(const ParsedKey& /*key*/) const { return true; }
  // The name of the encoding the settings are kept in, "UTF-8" for most.
  virtual std::string EncodingName() const { return "UTF-8"; }
  // Keeps the settings in the named encoding from the next save on, the
  // document's declaration saying so: STORE_OK; STORE_E_BAD_ARGUMENT (noted) for
  // an encoding unknown here, or one that cannot hold a character of document.
  virtual int SetEncoding(SettingsDocument& document, const std::string& name);
};

// The backing a path names (its UTF-8 form): an etcd prefix for "etcd://...", else
// a file. STORE_OK, or STORE_E_BAD_ARGUMENT for a malformed etcd path or
// STORE_E_IO for an unreadable client configuration.
int MakeBacking(const std::string& path, std::unique_ptr<Backing>* backing);

// Whether a path (as given to the API) names an etcd prefix, as MakeBacking tells.
bool NamesEtcd(const wchar_t* path);

}  // namespace keytreestore

#endif
