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

// Splits an etcd path. False, with what is wrong in *reason ("host "bad host" may
// hold only ..."), when it has no endpoint, an endpoint holding "@" (a user or
// password belongs in the configuration), an endpoint without a host or with a
// port outside 1..65535, a character other than letters, digits, ".", "-", "_"
// in a host that is not a bracketed IPv6 address, or an empty prefix or one
// holding a control character. A reason never shows an endpoint holding "@".
bool ParseEtcdPath(const std::string& path, EtcdPath* parsed, std::string* reason);

// True for an endpoint whose host is a loopback address: 127.0.0.0/8, [::1] or
// "localhost".
bool IsLoopbackEndpoint(const std::string& endpoint);

}  // namespace keytreestore

#endif
