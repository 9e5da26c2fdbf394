// Reading the etcd client configuration from the environment and its file, and
// refusing a password that would travel in clear text.
#include "etcd/EtcdConfig.h"

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "KeyTreeStore.h"
#include "etcd/EtcdPath.h"
#include "text/Printable.h"
#include "util/FailureNote.h"

namespace keytreestore {
namespace {

// A configuration file larger than this is refused rather than read.
constexpr off_t kMaxFileBytes = 64 * 1024;

struct Setting {
  const char* name;
  std::string EtcdConfig::*text;  // null for a yes/no setting
  bool EtcdConfig::*flag;
};

constexpr Setting kSettings[] = {
    {"cacert", &EtcdConfig::caFile, nullptr},
    {"cert", &EtcdConfig::certFile, nullptr},
    {"key", &EtcdConfig::keyFile, nullptr},
    {"user", &EtcdConfig::user, nullptr},
    {"password", &EtcdConfig::password, nullptr},
    {"allow-cleartext", nullptr, &EtcdConfig::allowCleartext},
};

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// "allow-cleartext" is set by DICOMSETTINGS_ETCD_ALLOW_CLEARTEXT.
std::string VariableName(const char* name) {
  std::string variable = "DICOMSETTINGS_ETCD_";
  for (const char* p = name; *p != '\0'; ++p) {
    variable += *p == '-' ? '_' : static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
  }
  return variable;
}

// Sets one setting; where ("DICOMSETTINGS_ETCD_USER", "etcd configuration F line
// 3") names its source in a note. A value is never noted: it may be a password.
int Assign(const Setting& setting, const std::string& value, const std::string& where,
           EtcdConfig* config) {
  if (setting.text != nullptr) {
    config->*setting.text = value;
    return STORE_OK;
  }
  static const struct {
    const char* text;
    bool value;
  } kFlags[] = {{"yes", true}, {"true", true},   {"1", true},
                {"no", false}, {"false", false}, {"0", false}};
  for (const auto& flag : kFlags) {
    if (strcasecmp(value.c_str(), flag.text) != 0) continue;
    config->*setting.flag = flag.value;
    return STORE_OK;
  }
  NoteFailure("%s: %s takes yes or no (or true/false, 1/0)", where.c_str(), setting.name);
  return STORE_E_IO;
}

// The text and mode of the file at path, both from one open descriptor.
// shown is path as a note shows it.
int ReadText(const char* path, const std::string& shown, std::string* text, mode_t* mode) {
  // Not blocking: a FIFO named by mistake must not hang the open.
  const int fd = open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    NoteSystemFailure("etcd configuration", path, errno);
    return STORE_E_IO;
  }
  struct stat status {};
  int error = fstat(fd, &status) == 0 ? 0 : errno;
  const bool regular = S_ISREG(status.st_mode) && status.st_size <= kMaxFileBytes;
  char buffer[4096];
  while (error == 0 && regular && text->size() <= static_cast<size_t>(kMaxFileBytes)) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got == 0) break;
    if (got > 0) text->append(buffer, static_cast<size_t>(got));
    if (got < 0 && errno != EINTR) error = errno;
  }
  close(fd);
  *mode = status.st_mode;
  if (error != 0) {
    NoteSystemFailure("etcd configuration", path, error);
    return STORE_E_IO;
  }
  if (!regular || text->size() > static_cast<size_t>(kMaxFileBytes)) {
    NoteFailure("etcd configuration %s is not a regular file of at most 64 KiB", shown.c_str());
    return STORE_E_IO;
  }
  return STORE_OK;
}

int ReadFile(const char* path, EtcdConfig* config) {
  std::string text;
  mode_t mode = 0;
  const std::string shown = Printable(path);
  if (ReadText(path, shown, &text, &mode) != STORE_OK) return STORE_E_IO;
  std::istringstream lines(text);
  std::string line;
  bool password = false;
  for (size_t number = 1; std::getline(lines, line); ++number) {
    line = Trim(line);
    if (line.empty() || line[0] == '#') continue;
    const size_t equals = line.find('=');
    const std::string name = equals == std::string::npos ? "" : Trim(line.substr(0, equals));
    const std::string where = "etcd configuration " + shown + " line " + std::to_string(number);
    const Setting* setting = nullptr;
    for (const Setting& known : kSettings) {
      if (name == known.name) setting = &known;
    }
    if (setting == nullptr) {
      std::string names;
      for (const Setting& known : kSettings) {
        names += (names.empty() ? "" : ", ") + std::string(known.name);
      }
      NoteFailure("%s is not a \"name = value\" line of a known name (%s)", where.c_str(),
                  names.c_str());
      return STORE_E_IO;
    }
    const std::string value = Trim(line.substr(equals + 1));
    password = password || (setting->text == &EtcdConfig::password && !value.empty());
    if (Assign(*setting, value, where, config) != STORE_OK) return STORE_E_IO;
  }
  // As ssh and libpq do with their key and password files.
  if (password && (mode & 077) != 0) {
    NoteFailure(
        "etcd configuration %s holds a password but group or others may read it (mode %04o); "
        "chmod 600 it",
        shown.c_str(), static_cast<unsigned>(mode & 07777));
    return STORE_E_IO;
  }
  return STORE_OK;
}

}  // namespace

int ReadEtcdConfig(EtcdConfig* config) {
  *config = EtcdConfig();
  const char* file = std::getenv("DICOMSETTINGS_ETCD_CONFIG");
  if (file != nullptr && file[0] != '\0') {
    const int result = ReadFile(file, config);
    if (result != STORE_OK) return result;
  }
  for (const Setting& setting : kSettings) {
    const std::string variable = VariableName(setting.name);
    const char* value = std::getenv(variable.c_str());
    if (value == nullptr || value[0] == '\0') continue;
    if (Assign(setting, value, variable, config) != STORE_OK) return STORE_E_IO;
  }
  return STORE_OK;
}

int CheckPasswordTransport(const EtcdConfig& config, const std::vector<std::string>& endpoints) {
  if (config.user.empty() || config.Tls() || config.allowCleartext) return STORE_OK;
  for (const std::string& endpoint : endpoints) {
    if (IsLoopbackEndpoint(endpoint)) continue;
    NoteFailure(
        "etcd user \"%s\" would send its password in clear text to %s: turn TLS on (cacert, "
        "DICOMSETTINGS_ETCD_CACERT) or accept clear text (allow-cleartext = yes, "
        "DICOMSETTINGS_ETCD_ALLOW_CLEARTEXT=yes)",
        Printable(config.user, 64).c_str(), endpoint.c_str());
    return STORE_E_IO;
  }
  return STORE_OK;
}

int ConfigureEtcdPath(const std::string& path, EtcdPath* parsed, EtcdConfig* config) {
  std::string reason;
  if (!ParseEtcdPath(path, parsed, &reason)) {
    // A path with "@" in it may hold a password ("etcd://root:pw@host:2379/x"): not shown.
    const bool shown = path.find('@') == std::string::npos;
    NoteFailure("etcd path \"%s\": %s", shown ? Printable(path).c_str() : "etcd://...",
                reason.c_str());
    return STORE_E_BAD_ARGUMENT;
  }
  if (ReadEtcdConfig(config) != STORE_OK) return STORE_E_IO;
  return CheckPasswordTransport(*config, parsed->endpoints);
}

}  // namespace keytreestore
