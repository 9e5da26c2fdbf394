// How this process reaches an etcd cluster securely: TLS files and a user, read
// from the environment when a path is opened, never from the path itself.
//
//   DICOMSETTINGS_ETCD_CONFIG           a file of "name = value" lines (names
//                                       below, without the prefix, in lower case
//                                       with "-" for "_"; "#" starts a comment line)
//   DICOMSETTINGS_ETCD_CACERT           CA certificate file (PEM): turns TLS on
//   DICOMSETTINGS_ETCD_CERT             client certificate file (PEM): turns TLS on
//   DICOMSETTINGS_ETCD_KEY              the client certificate's key file (PEM)
//   DICOMSETTINGS_ETCD_USER             etcd user name
//   DICOMSETTINGS_ETCD_PASSWORD         its password
//   DICOMSETTINGS_ETCD_ALLOW_CLEARTEXT  "yes" ("true", "1") lets the password go
//                                       without TLS to endpoints that are not
//                                       loopback addresses; "no" ("false", "0"),
//                                       the default, refuses that
//
// A variable set in the environment wins over the same name in the file. A file
// holding a password is refused when group or others have any permission on it.
#ifndef DICOMSETTINGS_STORE_ETCD_ETCDCONFIG_H
#define DICOMSETTINGS_STORE_ETCD_ETCDCONFIG_H

#include <string>
#include <vector>

#include "etcd/EtcdPath.h"

namespace keytreestore {

struct EtcdConfig {
  std::string caFile;
  std::string certFile;
  std::string keyFile;
  std::string user;
  std::string password;
  bool allowCleartext = false;

  bool Tls() const { return !caFile.empty() || !certFile.empty(); }
};

// Reads the configuration: STORE_OK, or STORE_E_IO, with a failure note, when
// the file named by DICOMSETTINGS_ETCD_CONFIG cannot be read, is not a regular
// file, holds a password while group or others may use it, or has a line that is
// not a known "name = value", or when a yes/no setting has another value.
int ReadEtcdConfig(EtcdConfig* config);

// STORE_E_IO, with a failure note, when a user is configured without TLS and
// without allowCleartext, and an endpoint is not a loopback address: its password
// would cross the network in clear text. STORE_OK otherwise.
int CheckPasswordTransport(const EtcdConfig& config, const std::vector<std::string>& endpoints);

// What reaching the settings under an etcd path takes: the path split and the
// configuration read and checked. STORE_OK; STORE_E_BAD_ARGUMENT (noted) for a
// malformed path; what ReadEtcdConfig and CheckPasswordTransport give.
int ConfigureEtcdPath(const std::string& path, EtcdPath* parsed, EtcdConfig* config);

}  // namespace keytreestore

#endif
