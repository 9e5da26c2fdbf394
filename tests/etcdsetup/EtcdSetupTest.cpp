// Opening an etcd path, before anything is sent: the configuration read, and a
// malformed path, an exposed password file or a clear-text password refused.
#include <gmock/gmock.h>
#include <sys/stat.h>

#include <memory>

#include "KeyTreeStore.h"
#include "TempDir.h"
#include "etcd/EtcdBacking.h"
#include "util/FailureNote.h"

namespace {

using ::testing::HasSubstr;

// Names a configuration file holding text ("-": no file) in the environment.
void Configure(const TempDir& dir, const std::string& text, mode_t mode = 0600) {
  const std::string file = dir.File("etcd.conf");
  std::remove(file.c_str());
  if (text != "-") WriteTextFile(file, text);
  chmod(file.c_str(), mode);
  setenv("DICOMSETTINGS_ETCD_CONFIG", file.c_str(), 1);
}

TEST(EtcdSetupTest, OpenRefusesAPathOrAClearTextPasswordSayingWhy) {
  const int kBad = STORE_E_BAD_ARGUMENT;
  const struct {
    std::string config, path;
    int result;
    std::string note;  // text the failure note holds
  } rows[] = {
      {"", "etcd://h:1", kBad, "etcd path \"etcd://h:1\": no key prefix"},
      {"", "etcd://h:1//", kBad, "no key prefix"},
      {"", "etcd://h:1,/x", kBad, "an endpoint is empty"},
      {"", "etcd://h/x", kBad, "endpoint \"h\" is not HOST:PORT"},
      {"", "etcd://:1/x", kBad, "endpoint \":1\" has no host"},
      {"", "etcd://h:0/x", kBad, "port \"0\" is not in 1..65535"},
      {"", "etcd://h:65536/x", kBad, "port \"65536\" is not in 1..65535"},
      {"", "etcd://h:18446744073709551617/x", kBad, "is not in 1..65535"},  // 2^64 + 1
      {"", "etcd://h p:1/x", kBad, "host \"h p\" may hold only letters, digits"},
      {"", "etcd://[zz]:1/x", kBad, "host \"[zz]\" is not a bracketed IPv6 address"},
      {"", "etcd://h:1/a\x1b[2Jb", kBad, "\"etcd://h:1/a\\x1B[2Jb\": the prefix holds a control"},
      {"", "etcd://root:s3cret@h:1/x", kBad, "\"etcd://...\": an endpoint holds \"@\""},
      {"user=u", "etcd://10.0.0.5:2379/x", STORE_E_IO,
       "etcd user \"u\" would send its password in clear text to 10.0.0.5:2379: turn TLS on"},
      {"user=u", "etcd://127.0.0.1:1,db.example:2379/x", STORE_E_IO, "clear text to db.example"},
      {"user=u", "etcd://127.0.0.1.example:1/x", STORE_E_IO, "clear text to 127.0.0.1.example"},
      {"user=u", "etcd://127.8.9.10:1,[::1]:2,LocalHost:3/x", STORE_OK, ""},
      {"", "etcd://a.b-c_D:1,10.0.0.5:2379/p/", STORE_OK, ""},
      {"user=u\ncacert=ca.pem", "etcd://10.0.0.5:2379/x", STORE_OK, ""},
      {"user=u\nallow-cleartext=yes", "etcd://10.0.0.5:2379/x", STORE_OK, ""},
  };
  TempDir dir;
  for (const auto& row : rows) {
    Configure(dir, row.config);
    std::unique_ptr<keytreestore::Backing> backing;
    EXPECT_EQ(keytreestore::MakeEtcdBacking(row.path, &backing), row.result) << row.path;
    const std::string note = keytreestore::TakeFailureNote();
    EXPECT_THAT(note, HasSubstr(row.note));
    if (row.result == STORE_OK) continue;  // an open would go on to the cluster
    const std::wstring path(row.path.begin(), row.path.end());
    EXPECT_EQ(StoreOpen(path.c_str(), 0), row.result) << row.path;
  }
}

TEST(EtcdSetupTest, ConfigurationIsReadFromFileAndEnvironmentOrRefusedUnshown) {
  const struct {
    std::string file;
    mode_t mode;
    std::string variable, value;  // set in the environment too
    int result;
    std::string read;  // "user password allowCleartext" read, or text the note holds
  } rows[] = {
      {"# c\n user = u \npassword=pw1\r\n", 0600, "", "", STORE_OK, "u pw1 0"},
      {"user = u\npassword = pw1\n", 0600, "PASSWORD", "pw2", STORE_OK, "u pw2 0"},
      {"user = u\n", 0644, "", "", STORE_OK, "u  0"},
      {"user = u\npassword = pw1\n", 0644, "", "", STORE_E_IO,
       "holds a password but group or others may read it (mode 0644); chmod 600 it"},
      {"passwort = pw1\n", 0600, "", "", STORE_E_IO, "line 1 is not a \"name = value\" line"},
      {"# c\n\npw1\n", 0600, "", "", STORE_E_IO, "line 3 is not"},
      {"-", 0600, "", "", STORE_E_IO, "etcd.conf: No such file or directory"},
      {"allow-cleartext = YES\n", 0600, "", "", STORE_OK, " 1"},
      {"allow-cleartext = true\n", 0600, "ALLOW_CLEARTEXT", "0", STORE_OK, " 0"},
      {"allow-cleartext = pw1\n", 0600, "", "", STORE_E_IO, "line 1: allow-cleartext takes yes"},
  };
  TempDir dir;
  for (const auto& row : rows) {
    Configure(dir, row.file, row.mode);
    const std::string variable = "DICOMSETTINGS_ETCD_" + row.variable;
    if (!row.value.empty()) setenv(variable.c_str(), row.value.c_str(), 1);
    keytreestore::EtcdConfig config;
    EXPECT_EQ(keytreestore::ReadEtcdConfig(&config), row.result) << row.file;
    const std::string note = keytreestore::TakeFailureNote();
    const std::string read =
        config.user + " " + config.password + " " + (config.allowCleartext ? "1" : "0");
    EXPECT_THAT(row.result == STORE_OK ? read : note, HasSubstr(row.read));
    EXPECT_THAT(note, ::testing::Not(HasSubstr("pw1")));
    unsetenv(variable.c_str());
  }
}

}  // namespace
