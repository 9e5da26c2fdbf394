// The one place that tells an etcd path from a file path.
#include "Backing.h"

#include "etcd/EtcdBacking.h"
#include "file/FileBacking.h"

namespace keytreestore {

int MakeBacking(const std::string& path, std::unique_ptr<Backing>* backing) {
  if (IsEtcdPath(path)) return MakeEtcdBacking(path, backing);
  *backing = std::make_unique<FileBacking>(path);
  return STORE_OK;
}

}  // namespace keytreestore
