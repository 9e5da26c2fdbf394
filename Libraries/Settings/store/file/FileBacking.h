// Settings kept in an XML file: read whole, saved crash-safely under the save
// lock beside it, and told from another version by the file's identity.
#ifndef DICOMSETTINGS_STORE_FILE_FILEBACKING_H
#define DICOMSETTINGS_STORE_FILE_FILEBACKING_H

#include <string>

#include "Backing.h"
#include "file/FileVersion.h"

namespace keytreestore {

class FileBacking : public Backing {
 public:
  // diskPath: the file's path in UTF-8.
  explicit FileBacking(std::string diskPath) : diskPath_(std::move(diskPath)) {}

  int Load(SettingsDocument& document, StoreParseError* error) override;
  int Save(SettingsDocument& document, const PendingChanges& changes) override;
  int UpdateCheck(int* updated) override;
  int Create(SettingsDocument& document, bool over) override;

 private:
  std::string diskPath_;
  FileIdentity identity_;  // the version on disk last loaded or saved
};

}  // namespace keytreestore

#endif
