// An etcd source that keeps a local copy of what it reads (LocalCopy.h) and opens
// from that copy while its cluster cannot be reached, so that a gateway starts
// with the settings it last had.
//
//  - Load: the cluster's settings, kept in the copy. When no endpoint answers
//    (STORE_E_IO, and no endpoint answered at all) and there is a copy that may be trusted, the
//    copy's settings instead: the tree is then served from the copy. A refusal
//    (a wrong password, a request the cluster will not serve), an empty prefix
//    (STORE_E_NO_FILE) and malformed settings (STORE_E_PARSE) are never covered
//    by a copy; without a copy the result is the cluster's STORE_E_IO, and with
//    one that is ignored the same, noted why.
//  - Save: to the cluster, as the etcd backing saves. A tree served from the copy
//    is first put on top of the cluster's version now, the values set since
//    replayed over it as over another writer's save: the copy may be older than
//    what the etcd backing last read, which is then no base for its areas. A save
//    that reaches no endpoint fails with STORE_E_IO, the tree and its changes
//    kept. The copy keeps what was last read: only a save of a tree served from
//    it, which reads the cluster first, rewrites it.
//  - UpdateCheck: the etcd backing's; on a tree served from the copy, 0 while no
//    endpoint answers and 1 as soon as one does, so that the caller's reload
//    takes the cluster's settings.
//  - Create: the etcd backing's; the copy is neither read nor kept.
// Writing the copy never fails a call: a copy that cannot be kept is left as it was.
#ifndef DICOMSETTINGS_STORE_COPIEDBACKING_H
#define DICOMSETTINGS_STORE_COPIEDBACKING_H

#include <memory>
#include <string>

#include "Backing.h"
#include "LocalCopy.h"
#include "etcd/EtcdBacking.h"

namespace keytreestore {

class CopiedBacking : public Backing {
 public:
  CopiedBacking(std::unique_ptr<EtcdBacking> etcd, const EtcdPath& path);

  int Load(SettingsDocument& document, StoreParseError* error) override;
  int Save(SettingsDocument& document, const PendingChanges& changes,
           const std::optional<std::string>& reason) override;
  int ReadHistory(History* history) override { return etcd_->ReadHistory(history); }
  int UpdateCheck(int* updated) override;
  int Create(SettingsDocument& document, bool over) override;
  void CopyStatus(StoreCopyStatus* status) const override;
  long long KeptRevision() const override { return served_ ? 0 : etcd_->KeptRevision(); }

 private:
  // Keeps the tree the etcd backing last read or saved in the copy.
  void KeepCopy(const SettingsDocument& document);

  std::unique_ptr<EtcdBacking> etcd_;
  LocalCopy copy_;
  bool served_ = false;  // whether the tree was last read from the copy
  CopyRecord record_;    // the copy it was read from
};

// An etcd backing for an etcd path (UTF-8) inside a CopiedBacking: what
// MakeEtcdBacking gives, and its failures.
int MakeCopiedEtcdBacking(const std::string& path, std::unique_ptr<Backing>* backing);

}  // namespace keytreestore

#endif
