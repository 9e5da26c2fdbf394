// The time, user, host and program of a save.
#include "history/RecordHeader.h"

#include <errno.h>
#include <pwd.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
  // Four lanes of eight bytes, mixed apart so that their multiplications overlap.
  std::uint64_t lanes[4] = {0x9E3779B97F4A7C15ULL ^ bytes.size(), 0x6A09E667F3BCC908ULL,
                            0xBB67AE8584CAA73BULL, 0x3C6EF372FE94F82BULL};
  for (size_t at = 0; at < bytes.size(); at += 32) {
    std::uint64_t words[4] = {0, 0, 0, 0};
    std::memcpy(words, bytes.data() + at, std::min<size_t>(32, bytes.size() - at));
    for (int i = 0; i < 4; ++i) {
      lanes[i] = (lanes[i] ^ words[i]) * 0xFF51AFD7ED558CCDULL;
      lanes[i] ^= lanes[i] >> 29;
    }
  }
  std::uint64_t hash = lanes[0];
  for (int i = 1; i < 4; ++i) hash = (hash ^ lanes[i]) * 0xFF51AFD7ED558CCDULL;
  hash ^= hash >> 33;
  hash *= 0xC4CEB9FE1A85EC53ULL;
  hash ^= hash >> 33;
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

}  // namespace keytreestore
