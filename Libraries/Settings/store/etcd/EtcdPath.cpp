// Parsing of etcd paths into endpoints and a key prefix.
#include "etcd/EtcdPath.h"

#include <cctype>

namespace keytreestore {
namespace {

constexpr char kScheme[] = "etcd://";
constexpr size_t kSchemeLength = sizeof kScheme - 1;

bool ValidHost(const std::string& host) {
  if (host.empty()) return false;
  if (host.front() == '[') {
    if (host.size() < 3 || host.back() != ']') return false;
    for (size_t i = 1; i + 1 < host.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(host[i]);
      if (!std::isxdigit(c) && c != ':' && c != '.') return false;
    }
    return true;
  }
  for (const char ch : host) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (!std::isalnum(c) && c != '.' && c != '-' && c != '_') return false;
  }
  return true;
}

bool ValidEndpoint(const std::string& endpoint) {
  const size_t colon = endpoint.rfind(':');
  if (colon == std::string::npos || colon + 1 == endpoint.size() || colon + 6 < endpoint.size()) {
    return false;
  }
  long port = 0;
  for (size_t i = colon + 1; i < endpoint.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(endpoint[i]))) return false;
    port = port * 10 + (endpoint[i] - '0');
  }
  return port >= 1 && port <= 65535 && ValidHost(endpoint.substr(0, colon));
}

}  // namespace

bool IsEtcdPath(const std::string& path) {
  return path.compare(0, kSchemeLength, kScheme) == 0;
}

bool ParseEtcdPath(const std::string& path, EtcdPath* parsed) {
  if (!IsEtcdPath(path)) return false;
  const size_t slash = path.find('/', kSchemeLength);
  if (slash == std::string::npos) return false;
  parsed->endpoints.clear();
  size_t start = kSchemeLength;
  while (start <= slash) {
    size_t end = path.find(',', start);
    if (end == std::string::npos || end > slash) end = slash;
    parsed->endpoints.push_back(path.substr(start, end - start));
    if (!ValidEndpoint(parsed->endpoints.back())) return false;
    start = end + 1;
  }
  size_t last = path.size();
  while (last > slash && path[last - 1] == '/') --last;
  parsed->prefix = path.substr(slash, last - slash);
  if (parsed->prefix.size() < 2) return false;
  for (const char c : parsed->prefix) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  }
  return true;
}

}  // namespace keytreestore
