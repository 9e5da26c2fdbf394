// Reading the etcd client configuration from the environment and its file.
#include "etcd/EtcdConfig.h"

#include <cstdlib>
#include <fstream>

#include "KeyTreeStore.h"

namespace keytreestore {
namespace {

struct Setting {
  const char* name;
  std::string EtcdConfig::*field;
};

constexpr Setting kSettings[] = {
    {"cacert", &EtcdConfig::caFile},     {"cert", &EtcdConfig::certFile},
    {"key", &EtcdConfig::keyFile},       {"user", &EtcdConfig::user},
    {"password", &EtcdConfig::password},
};

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

int ReadFile(const char* path, EtcdConfig* config) {
  std::ifstream in(path);
  if (!in) return STORE_E_IO;
  std::string line;
  while (std::getline(in, line)) {
    line = Trim(line);
    if (line.empty() || line[0] == '#') continue;
    const size_t equals = line.find('=');
    if (equals == std::string::npos) return STORE_E_IO;
    const std::string name = Trim(line.substr(0, equals));
    bool known = false;
    for (const Setting& setting : kSettings) {
      if (name != setting.name) continue;
      config->*setting.field = Trim(line.substr(equals + 1));
      known = true;
    }
    if (!known) return STORE_E_IO;
  }
  return in.bad() ? STORE_E_IO : STORE_OK;
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
    std::string variable = "DICOMSETTINGS_ETCD_";
    for (const char* p = setting.name; *p != '\0'; ++p) variable += static_cast<char>(*p - 32);
    const char* value = std::getenv(variable.c_str());
    if (value != nullptr && value[0] != '\0') config->*setting.field = value;
  }
  return STORE_OK;
}

}  // namespace keytreestore
