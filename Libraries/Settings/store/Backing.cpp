// The one place that tells an etcd path from a file path.
#include "Backing.h"

#include "CopiedBacking.h"
#include "etcd/EtcdPath.h"
#include "file/FileBacking.h"
#include "util/FailureNote.h"

namespace keytreestore {

int MakeBacking(const std::string& path, std::unique_ptr<Backing>* backing) {
  // An etcd source keeps a local copy of what it reads, for when its cluster is out of reach.
  if (IsEtcdPath(path)) return MakeCopiedEtcdBacking(path, backing);
  *backing = std::make_unique<FileBacking>(path);
  return STORE_OK;
}

int Backing::SetEncoding(SettingsDocument& /*document*/, const std::string& name) {
  if (name == "UTF-8") return STORE_OK;
  NoteFailure("settings kept here are UTF-8 only");
  return STORE_E_BAD_ARGUMENT;
}

bool NamesEtcd(const wchar_t* path) {
  // The scheme is ASCII: its few characters are enough to tell.
  std::string start;
  for (size_t i = 0; path != nullptr && path[i] != L'\0' && i < 16; ++i) {
    if (path[i] < 0 || path[i] > 0x7F) break;
    start += static_cast<char>(path[i]);
  }
  return IsEtcdPath(start);
}

}  // namespace keytreestore

extern "C" int StorePathKind(const wchar_t* path) {
  return keytreestore::NamesEtcd(path) ? STORE_KIND_ETCD : STORE_KIND_FILE;
}
