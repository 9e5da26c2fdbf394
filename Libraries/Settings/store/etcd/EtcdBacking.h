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
  int Save(SettingsDocument& document, const PendingChanges& changes) override;
  int UpdateCheck(int* updated) override;
  int Create(SettingsDocument& document, bool over) override;

  // The cluster revision the tree last loaded or saved is the settings of; 0 when
  // none is (nothing read yet, or a save whose reading back failed).
  long long KeptRevision() const { return kept_.count < 0 ? 0 : kept_.revision; }
  // Whether the last failed call reached no endpoint of the cluster at all.
  bool ReachedNone() const { return client_.ReachedNone(); }

 private:
  // What the prefix held at one revision: area name to text.
  struct Snapshot {
    long long revision = 0;                    // the cluster's revision when read or written
    long long newestMod = 0;                   // newest modification revision under the prefix
    long long count = 0;                       // keys under the prefix, nested prefixes' included
    std::map<std::string, std::string> areas;  // and the link, under ".extends"
  };

  // The prefix range of a request.
  nlohmann::json Range() const;
  // The areas of a range answer as they are kept, not parsed: STORE_OK or
  // STORE_E_IO for an answer that is not what was asked for.
  int ReadAreas(const nlohmann::json& answer, Snapshot* snapshot) const;
  // A snapshot from a range answer, and the tree it describes.
  int ReadSnapshot(const nlohmann::json& answer, Snapshot* snapshot, SettingsDocument* document,
                   StoreParseError* error) const;
  // The transaction that puts the changed areas of document, and deletes the
  // areas of a changed name that it no longer holds (in *puts with a text of one
  // NUL), if none of them
  // changed since base.revision, else reads the prefix.
  nlohmann::json SaveTransaction(const SettingsDocument& document, const Snapshot& base,
                                 const std::set<std::string>& areas,
                                 std::map<std::string, std::string>* puts) const;

  EtcdClient client_;
  std::string prefix_;       // "/PREFIX/"
  std::string rangeEnd_;     // the first key after every key starting with prefix_
  Snapshot kept_;            // what this process last loaded or saved
  std::minstd_rand random_;  // pauses between the rounds of a save
};

// An EtcdBacking for an etcd path (UTF-8): STORE_OK, STORE_E_BAD_ARGUMENT for a
// malformed path, STORE_E_IO for a configuration that cannot be read or is
// refused (a password others may read, or one that would go in clear text);
// each failure noted. Nothing is sent to the cluster.
int MakeEtcdBacking(const std::string& path, std::unique_ptr<Backing>* backing);

}  // namespace keytreestore

#endif
