// The store on an etcd cluster that takes only TLS clients with a certificate
// and etcd users: the configuration comes from the environment, and a missing
// or wrong CA or a wrong password is refused, saying why.
#include <gmock/gmock.h>
#include <sys/stat.h>

#include <cstdlib>

#include "EtcdCluster.h"
#include "KeyTreeStore.h"
#include "StoreTestSupport.h"

namespace {

using ::testing::HasSubstr;

// A CA, a server certificate for 127.0.0.1 and a client certificate, in dir. The
// client's has no common name: etcd's JSON gateway refuses one once users are on.
bool MakeCertificates(const std::string& dir) {
  const std::string script =
      "cd '" + dir +
      "' && exec >/dev/null 2>&1 && "
      "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=test-ca "
      "-keyout ca.key -out ca.pem && "
      "for n in server client; do "
      "openssl req -newkey rsa:2048 -nodes -subj /O=$n -keyout $n.key -out $n.csr && "
      "printf 'subjectAltName=IP:127.0.0.1\\nextendedKeyUsage=serverAuth,clientAuth\\n' > $n.ext "
      "&& "
      "openssl x509 -req -in $n.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 1 "
      "-extfile $n.ext -out $n.pem || exit 1; done";
  return std::system(script.c_str()) == 0;
}

TEST(SecurityTest, TlsClientCertificateAndUserFromTheEnvironment) {
  TempDir certs;
  ASSERT_TRUE(MakeCertificates(certs.path()));
  const std::string ca = certs.File("ca.pem");
  EtcdCluster cluster(
      1,
      {"--cert-file=" + certs.File("server.pem"), "--key-file=" + certs.File("server.key"),
       "--client-cert-auth", "--trusted-ca-file=" + ca},
      "--cacert=" + ca + " --cert=" + certs.File("client.pem") +
          " --key=" + certs.File("client.key"));
  const std::string etcdctl = cluster.Etcdctl();
  ASSERT_TRUE(cluster.WaitHealthy());
  ASSERT_EQ(std::system((etcdctl + "user add root:rootpw >/dev/null && " + etcdctl +
                         "auth enable >/dev/null")
                            .c_str()),
            0);
  const std::wstring path = cluster.Path("sites/secure");

  // Without TLS settings, then trusting another CA, then with a wrong password:
  // refused, saying why, and no secret shown.
  EXPECT_EQ(StoreCreate(path.c_str()), STORE_E_IO);
  setenv("DICOMSETTINGS_ETCD_CACERT", certs.File("client.pem").c_str(), 1);
  setenv("DICOMSETTINGS_ETCD_CERT", certs.File("client.pem").c_str(), 1);
  setenv("DICOMSETTINGS_ETCD_KEY", certs.File("client.key").c_str(), 1);
  EXPECT_EQ(StoreCreate(path.c_str()), STORE_E_IO);
  EXPECT_THAT(LastFailure(path), HasSubstr(": TLS: SSL certificate problem"));
  setenv("DICOMSETTINGS_ETCD_CACERT", ca.c_str(), 1);
  setenv("DICOMSETTINGS_ETCD_USER", "root", 1);
  setenv("DICOMSETTINGS_ETCD_PASSWORD", "Wr0ng-pw-4a1", 1);
  EXPECT_EQ(StoreCreate(path.c_str()), STORE_E_IO);
  EXPECT_THAT(
      LastFailure(path),
      ::testing::AllOf(HasSubstr("user \"root\" refused: etcdserver: authentication failed"),
                       ::testing::Not(HasSubstr("Wr0ng-pw-4a1"))));

  // The right password from a configuration file only its owner may read; the
  // environment wins over it.
  WriteTextFile(certs.File("etcd.conf"), "# for the test\npassword = rootpw\n");
  chmod(certs.File("etcd.conf").c_str(), 0600);
  unsetenv("DICOMSETTINGS_ETCD_PASSWORD");
  setenv("DICOMSETTINGS_ETCD_CONFIG", certs.File("etcd.conf").c_str(), 1);
  ASSERT_EQ(StoreCreate(path.c_str()), STORE_OK);
  ASSERT_EQ(StoreSetValue(path.c_str(), L"/A/V", L"secret-free"), STORE_OK);
  ASSERT_EQ(StoreSave(path.c_str()), STORE_OK);
  ASSERT_EQ(StoreClose(path.c_str(), 0), STORE_OK);
  ASSERT_EQ(StoreOpen(path.c_str(), 0), STORE_OK);
  wchar_t value[STORE_VALUE_BUFFER_LENGTH];
  ASSERT_EQ(StoreGetValue(value, path.c_str(), L"/A/V"), STORE_OK);
  EXPECT_STREQ(value, L"secret-free");
  // Its change record names the save, and nothing of the configuration.
  const std::string history = HistoryOf(path).dump();
  EXPECT_THAT(history, HasSubstr("\"new\":\"secret-free\""));
  for (const char* secret : {"rootpw", "PRIVATE KEY", "client.key"}) {
    EXPECT_THAT(history, ::testing::Not(HasSubstr(secret)));
  }
  // A watch over TLS, with the user's token, hears of another writer's save.
  int fd = -1;
  ASSERT_EQ(StoreWatch(path.c_str(), &fd), STORE_OK);
  const std::wstring other = path + L"/";  // the same prefix, a tree of its own
  ASSERT_EQ(StoreOpen(other.c_str(), 0), STORE_OK);
  ASSERT_EQ(StoreSetValue(other.c_str(), L"/A/V", L"changed"), STORE_OK);
  ASSERT_EQ(StoreSave(other.c_str()), STORE_OK);
  int changed = -1;
  ASSERT_EQ(StoreWaitForChange(path.c_str(), 10000, &changed), STORE_OK);
  EXPECT_EQ(changed, 1);
  StoreClose(other.c_str(), 0);
  StoreClose(path.c_str(), 0);
}

}  // namespace
