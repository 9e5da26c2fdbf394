// How this process reaches an etcd cluster securely: TLS files and a user, read
// from the environment when a path is opened, never from the path itself.
//
//   DICOMSETTINGS_ETCD_CONFIG    a file of "name = value" lines (names below,
//                                without the prefix, in lower case; "#" starts a
//                                comment line)
//   DICOMSETTINGS_ETCD_CACERT    CA certificate file (PEM): turns TLS on
//   DICOMSETTINGS_ETCD_CERT      client certificate file (PEM): turns TLS on
//   DICOMSETTINGS_ETCD_KEY       the client certificate's key file (PEM)
//   DICOMSETTINGS_ETCD_USER      etcd user name
//   DICOMSETTINGS_ETCD_PASSWORD  its password
//
// A variable set in the environment wins over the same name in the file.
#ifndef DICOMSETTINGS_STORE_ETCD_ETCDCONFIG_H
#define DICOMSETTINGS_STORE_ETCD_ETCDCONFIG_H

#include <string>

namespace keytreestore {

struct EtcdConfig {
  std::string caFile;
  std::string certFile;
  std::string keyFile;
  std::string user;
  std::string password;

  bool Tls() const { return !caFile.empty() || !certFile.empty(); }
};

// Reads the configuration: STORE_OK, or STORE_E_IO when the file named by
// DICOMSETTINGS_ETCD_CONFIG cannot be read or has a line that is not a known
// "name = value".
int ReadEtcdConfig(EtcdConfig* config);

}  // namespace keytreestore

#endif
