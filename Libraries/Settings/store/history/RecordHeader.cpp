// The time, user, host and program of a save.
#include "history/RecordHeader.h"

#include <errno.h>
#include <pwd.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace keytreestore {
namespace {

std::string UtcNow() {
  timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  tm parts;
  gmtime_r(&now.tv_sec, &parts);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03ldZ", parts.tm_year + 1900,
                parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec,
                now.tv_nsec / 1000000);
  return text;
}

std::string UserName(uid_t uid) {
  std::vector<char> buffer(16384);
  passwd entry;
  passwd* found = nullptr;
  if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
    return found->pw_name;
  }
  return std::to_string(uid);
}

std::string HostName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return std::string();
  return name;
}

}  // namespace

size_t HistoryLimit() {
  const char* text = std::getenv("DICOMSETTINGS_HISTORY_LIMIT");
  if (text == nullptr || *text < '0' || *text > '9') return kDefaultHistoryLimit;
  char* end = nullptr;
  errno = 0;
  const unsigned long long limit = std::strtoull(text, &end, 10);
  if (errno != 0 || *end != '\0' || limit > kMaxHistoryLimit) return kDefaultHistoryLimit;
  return static_cast<size_t>(limit);
}

void FillRecordHeader(const std::optional<std::string>& reason, ChangeRecord* record) {
  record->time = UtcNow();
  record->uid = getuid();
  record->user = UserName(getuid());
  record->host = HostName();
  record->program = program_invocation_short_name;
  record->pid = getpid();
  record->reason = reason;
  const char* fromEnvironment = std::getenv("DICOMSETTINGS_CHANGE_REASON");
  if (!reason && fromEnvironment != nullptr && *fromEnvironment != '\0') {
    record->reason = std::string(fromEnvironment);
  }
}

std::string Digest(std::string_view bytes) {
  std::uint64_t hash = 14695981039346656037ULL;
  for (const unsigned char byte : bytes) {
    hash ^= byte;
    hash *= 1099511628211ULL;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

}  // namespace keytreestore
