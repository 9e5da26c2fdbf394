// Settings kept in an XML file: read whole, saved crash-safely under the save
// lock beside it, and told from another version by the file's identity. A file
// in another encoding than UTF-8 (text/Encoding.h) is decoded when read and
// saved back in its own encoding, mark and declaration.
#ifndef DICOMSETTINGS_STORE_FILE_FILEBACKING_H
#define DICOMSETTINGS_STORE_FILE_FILEBACKING_H

#include <string>

#include "Backing.h"
#include "file/FileVersion.h"
#include "text/Encoding.h"

namespace keytreestore {

class FileBacking : public Backing {
 public:
  // diskPath: the file's path in UTF-8.
  explicit FileBacking(std::string diskPath) : diskPath_(std::move(diskPath)) {}

  int Load(SettingsDocument& document, StoreParseError* error) override;
  int Save(SettingsDocument& document, const PendingChanges& changes,
           const std::optional<std::string>& reason) override;
  int ReadHistory(History* history) override;
  int UpdateCheck(int* updated) override;
  int Create(SettingsDocument& document, bool over) override;
  bool Holds(const char* utf8, size_t size) const override;
  bool HoldsNames(const ParsedKey& key) const override;
  std::string EncodingName() const override { return encoding_.Name(); }
  int SetEncoding(SettingsDocument& document, const std::string& name) override;

 private:
  std::string diskPath_;
  FileIdentity identity_;   // the version on disk last loaded or saved
  FileEncoding encoding_;   // what it is written in
  std::string digest_;      // of that version's bytes when it was saved here, else empty
  bool replacing_ = false;  // the tree was started anew over settings on disk
};

// The text of the file at path in UTF-8, decoded from its own encoding (lines and
// characters as they stand in the file), and that encoding's name: STORE_OK, or
// what reading it gives (STORE_E_PARSE, noted, for bytes that do not decode).
int ReadFileText(const std::string& path, std::string* text, std::string* encodingName);

}  // namespace keytreestore

#endif
