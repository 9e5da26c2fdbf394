// The local copy of the settings an etcd source last read, kept on this machine
// so that a gateway can start while its cluster cannot be reached.
//
// Where: in the folder DICOMSETTINGS_CACHE_DIR names (an absolute path); without
// it in /var/cache/dicomsettings where this process may write that folder or
// create it, else in $XDG_CACHE_HOME/dicomsettings, else in
// $HOME/.cache/dicomsettings. Missing folders are created with mode 0700 when a
// copy is kept. The environment is read on every call.
//
// The file: one per source, named from the whole source (endpoints and prefix)
// in letters, digits, ".", "-" and "_", cut short where long, and a hash of the
// source, so that two sources never share a file and the name stays far below
// 255 bytes (room left for the lock and temporary files a save puts beside it).
// It is replaced crash-safely (file/AtomicReplace.h) under a lock
// (file/SaveLock.h), with mode 0600 and this process's owner. It holds the tree
// as a settings file would (SettingsDocument::Serialize), with one processing
// instruction on the line after the XML declaration, outside the document
// element, that records the etcd revision the tree was read at, when the copy
// was written (UTC) and the source it is the copy of (base64: a prefix may hold
// any character, "?>" included):
//
//   <?dicomsettings-copy revision="123" kept="2026-12-07T15:00:00Z" source="ZXRj..."?>
//
// Reading the copy removes the instruction: the tree read is the tree kept.
//
// Trust: a copy is read only where neither its folder nor its file is a
// symbolic link, both belong to this process's effective user or root, and
// neither group nor others may write them: another user could have planted
// anything else. A copy that breaks one of these rules, does not parse or holds
// no record of its own source is ignored, saying why.
//
// No secret goes into a copy or its name: a source holds no user or password
// (etcd/EtcdPath.h refuses one).
#ifndef DICOMSETTINGS_STORE_LOCALCOPY_H
#define DICOMSETTINGS_STORE_LOCALCOPY_H

#include <string>

#include "etcd/EtcdPath.h"
#include "tree/SettingsDocument.h"

namespace keytreestore {

// What a copy records besides the tree.
struct CopyRecord {
  long long revision = 0;  // the etcd revision the tree was read at
  std::string kept;        // when the copy was written: "2026-12-07T15:00:00Z"
};

class LocalCopy {
 public:
  // The copy of the settings under source's prefix in source's cluster.
  explicit LocalCopy(const EtcdPath& source);

  // Keeps document as the copy at revision; a copy that holds this revision of
  // the source already is left as it is. STORE_OK, or STORE_E_IO (noted) when no
  // folder may be had or the file cannot be written.
  int Keep(const SettingsDocument& document, long long revision) const;

  // Reads the copy into *document and *record: STORE_OK; STORE_E_NO_FILE when
  // there is none, nothing noted; STORE_E_IO when it is ignored, noted why
  // ("local copy /var/cache/dicomsettings/...: ignored: it may be written by
  // group or others"); STORE_E_NO_MEMORY. On failure both stay as they were.
  int Read(SettingsDocument* document, CopyRecord* record) const;

 private:
  std::string source_;    // "etcd://HOST:PORT,.../PREFIX"
  std::string fileName_;  // the copy's name in its folder
};

}  // namespace keytreestore

#endif
