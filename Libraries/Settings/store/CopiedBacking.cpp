// An etcd source that falls back on its local copy while the cluster is out of reach.
#include "CopiedBacking.h"

#include <cstdio>
#include <utility>

#include "util/FailureNote.h"

namespace keytreestore {

CopiedBacking::CopiedBacking(std::unique_ptr<EtcdBacking> etcd, const EtcdPath& path)
    : etcd_(std::move(etcd)), copy_(path) {}

void CopiedBacking::KeepCopy(const SettingsDocument& document) {
  const long long revision = etcd_->KeptRevision();
  if (revision <= 0) return;
  // The call succeeded whatever becomes of the copy: what keeping it met is not
  // noted, and what was noted before stays.
  const std::string before = TakeFailureNote();
  copy_.Keep(document, revision);
  ClearFailureNote();
  if (!before.empty()) NoteFailure("%s", before.c_str());
}

int CopiedBacking::Load(SettingsDocument& document, StoreParseError* error) {
  const int result = etcd_->Load(document, error);
  if (result == STORE_OK) {
    served_ = false;
    KeepCopy(document);
    return STORE_OK;
  }
  if (result != STORE_E_IO || !etcd_->ReachedNone()) return result;
  CopyRecord record;
  const int read = copy_.Read(&document, &record);
  if (read == STORE_E_NO_FILE) return result;
  if (read != STORE_OK) return read;
  served_ = true;
  record_ = std::move(record);
  return STORE_OK;
}

int CopiedBacking::Save(SettingsDocument& document, const PendingChanges& changes,
                        const std::optional<std::string>& reason) {
  // The copy is what was last read: a save does not rewrite it (the next load
  // does), so that a save costs what it cost without copies.
  if (!served_) return etcd_->Save(document, changes, reason);
  // The base is what the cluster holds now; a prefix emptied meanwhile gets the
  // values set here alone.
  SettingsDocument merged;
  int result = etcd_->Load(merged, nullptr);
  if (result == STORE_E_NO_FILE) {
    ClearFailureNote();
    result = merged.MakeEmpty();
  }
  if (result == STORE_OK) result = ReplayChanges(changes, merged);
  if (result == STORE_OK) result = etcd_->Save(merged, changes, reason);
  if (result != STORE_OK) return result;
  document.Swap(merged);
  served_ = false;
  KeepCopy(document);
  return STORE_OK;
}

int CopiedBacking::UpdateCheck(int* updated) {
  if (!served_) return etcd_->UpdateCheck(updated);
  int changed = 0;
  const int result = etcd_->UpdateCheck(&changed);
  if (result != STORE_OK && !etcd_->ReachedNone()) return result;
  // Any answer means the cluster's settings are to be had again.
  *updated = result == STORE_OK ? 1 : 0;
  return STORE_OK;
}

int CopiedBacking::Create(SettingsDocument& document, bool over) {
  return etcd_->Create(document, over);
}

void CopiedBacking::CopyStatus(StoreCopyStatus* status) const {
  *status = StoreCopyStatus{};
  if (!served_) return;
  status->served = 1;
  status->revision = record_.revision;
  std::snprintf(status->kept, sizeof status->kept, "%s", record_.kept.c_str());
}

int MakeCopiedEtcdBacking(const std::string& path, std::unique_ptr<Backing>* backing) {
  std::unique_ptr<Backing> made;
  const int result = MakeEtcdBacking(path, &made);
  if (result != STORE_OK) return result;
  // MakeEtcdBacking makes an EtcdBacking, of a path it parsed.
  std::unique_ptr<EtcdBacking> etcd(static_cast<EtcdBacking*>(made.release()));
  EtcdPath parsed;
  std::string reason;
  ParseEtcdPath(path, &parsed, &reason);
  *backing = std::make_unique<CopiedBacking>(std::move(etcd), parsed);
  return STORE_OK;
}

}  // namespace keytreestore
