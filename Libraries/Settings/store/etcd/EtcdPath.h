// The form of an etcd path: "etcd://HOST:PORT[,HOST:PORT...]/PREFIX".
#ifndef DICOMSETTINGS_STORE_ETCD_ETCDPATH_H
#define DICOMSETTINGS_STORE_ETCD_ETCDPATH_H

#include <string>
#include <vector>

namespace keytreestore {

struct EtcdPath {
  std::vector<std::string> endpoints;  // "HOST:PORT", in the order given
  std::string prefix;                  // "/PREFIX", without a trailing "/"
};

// True when path starts with "etcd://".
bool IsEtcdPath(const std::string& path);

// Splits an etcd path. False when it has no endpoint, an endpoint without a host
// or with a port outside 1..65535, a character other than letters, digits, ".",
// "-", "_" and a bracketed IPv6 address in a host, or an empty prefix or one
// holding a control character.
bool ParseEtcdPath(const std::string& path, EtcdPath* parsed);

}  // namespace keytreestore

#endif
