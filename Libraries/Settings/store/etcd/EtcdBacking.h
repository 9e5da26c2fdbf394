// Settings kept under a key prefix in an etcd cluster, one key per top-level
// area of the tree ("PREFIX/EchoScu", "PREFIX/Service"), its value the area's
// lines (etcd/AreaText.h). The key "PREFIX/.extends" holds the path of the source
// the settings extend (the tree carries it as the document element's "extends"
// attribute). Keys further down ("PREFIX/hosts/gw-3/EchoScu") belong to prefixes
// nested in this one: never read or written as this prefix's settings.
//
//  - Load reads the whole prefix in one range request: one revision. An empty
//    prefix is STORE_E_NO_FILE.
//  - Save is one transaction: if none of the areas this process changed was
//    modified after the revision last read or written, they are put; otherwise
//    the same transaction reads the prefix back, this process's changes are
//    replayed on top of it and the transaction is tried again (at most
//    kMaxSaveRounds times, after a random pause of up to 2^round ms, at most
//    128 ms, so that writers that met do not meet again). When the cluster's
//    revision shows other writes since, the tree then reads the prefix again,
//    taking in what others saved in other areas. A save that cannot commit (an
//    unreachable cluster, a save above etcd's request limits) gives STORE_E_IO
//    and keeps everything in memory for a later save.
//  - A save that changes a value writes its record (history/ChangeRecord.h) in
//    the same transaction, as "PREFIX/.changes/<id, 20 digits>", and the newest
//    id as "PREFIX/.changes"; the transaction holds only while that key is the
//    version last read, so that ids follow the order the saves took effect. The
//    records beyond the history's limit go in the same transaction. These keys
//    sort before every area, outside the range a load or check reads.
//  - UpdateCheck asks for the newest modification revision and the key count of
//    the prefix (keys only, one key): a put or a delete under the prefix since
//    the last load or save changes one of them (a save of a nested prefix too:
//    the caller then reloads the same settings).
#ifndef DICOMSETTINGS_STORE_ETCD_ETCDBACKING_H
#define DICOMSETTINGS_STORE_ETCD_ETCDBACKING_H

#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>

#include "Backing.h"
#include "etcd/EtcdClient.h"

namespace keytreestore {

class EtcdBacking : public Backing {
 public:
  static constexpr int kMaxSaveRounds = 32;
  static constexpr int kBackoffDoublings = 7;

  EtcdBacking(const EtcdPath& path, EtcdConfig config);

  int Load(SettingsDocument& document, StoreParseError* error) override;
  int Save(SettingsDocument& document, const PendingChanges& changes,
           const std::optional<std::string>& reason) override;
  int ReadHistory(History* history) override;
  int UpdateCheck(int* updated) override;
  int Create(SettingsDocument& document, bool over) override;

  // The cluster revision the tree last loaded or saved is the settings of; 0 when
  // none is (nothing read yet, or a save whose reading back failed).
  long long KeptRevision() const override { return kept_.count < 0 ? 0 : kept_.revision; }
  // Whether the last failed call reached no endpoint of the cluster at all.
  bool ReachedNone() const { return client_.ReachedNone(); }

 private:
  // What the prefix held at one revision: area name to text.
  struct Snapshot {
    long long revision = 0;                    // the cluster's revision when read or written
    long long newestMod = 0;                   // newest modification revision under the prefix
    long long count = 0;                       // keys under the prefix, nested prefixes' included
    std::map<std::string, std::string> areas;  // and the link, under ".extends"
    long long newestRecord = 0;                // the newest id of the history
    long long counterVersion = 0;              // the version of its key, 0: none yet
  };

  // The prefix range of a request: the settings' keys, not the history's.
  nlohmann::json Range() const;
  // A transaction that reads the settings and the history's newest id.
  nlohmann::json ReadBoth() const;
  // A snapshot from the answer of ReadBoth's requests.
  int ReadBothAnswer(const nlohmann::json& responses, Snapshot* snapshot,
                     SettingsDocument* document, StoreParseError* error) const;
  // The areas of a range answer as they are kept, not parsed: STORE_OK or
  // STORE_E_IO for an answer that is not what was asked for.
  int ReadAreas(const nlohmann::json& answer, Snapshot* snapshot) const;
  // A snapshot from a range answer, and the tree it describes.
  int ReadSnapshot(const nlohmann::json& answer, Snapshot* snapshot, SettingsDocument* document,
                   StoreParseError* error) const;
  // The areas of document to put (those of a name in areas that differ from
  // base), and those of such a name it no longer holds, with a text of one NUL.
  void AreasToPut(const SettingsDocument& document, const Snapshot& base,
                  const std::set<std::string>& areas,
                  std::map<std::string, std::string>* puts) const;
  // The record of the values puts change over base; no changes when none.
  ChangeRecord RecordOf(const Snapshot& base, const std::map<std::string, std::string>& puts,
                        const std::optional<std::string>& reason) const;
  // The transaction that makes puts and record (when it has changes) if none of
  // the areas put changed since base.revision and the history is as in base,
  // else reads the prefix and the history's newest id.
  nlohmann::json SaveTransaction(const Snapshot& base,
                                 const std::map<std::string, std::string>& puts,
                                 const ChangeRecord& record) const;

  EtcdClient client_;
  std::string prefix_;       // "/PREFIX/"
  Snapshot kept_;            // what this process last loaded or saved
  std::minstd_rand random_;  // pauses between the rounds of a save
};

// An EtcdBacking for an etcd path (UTF-8): STORE_OK, STORE_E_BAD_ARGUMENT for a
// malformed path, STORE_E_IO for a configuration that cannot be read or is
// refused (a password others may read, or one that would go in clear text);
// each failure noted. Nothing is sent to the cluster.
// The key range (base64 "key" and "range_end") the settings under prefix ("/PREFIX/")
// are read from: every area and the link, not the history.
nlohmann::json SettingsRange(const std::string& prefix);

int MakeEtcdBacking(const std::string& path, std::unique_ptr<Backing>* backing);

}  // namespace keytreestore

#endif
