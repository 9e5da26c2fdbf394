// `watch FILE [KEY...] [--json] [--count N]`: waits for changes of the settings
// by others and prints, for each, one line a value that changed ("KEY: OLD ->
// NEW", or with --json one object a line: key, old, new, time), flushed at once;
// with keys, only the values they name. Changes that come in a burst are read
// together: the final value of every key that changed is printed. Runs until
// SIGINT or SIGTERM (exit 0), or until N lines were printed.
#include <poll.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <iostream>
#include <nlohmann/json.hpp>

#include "AreaDiff.h"
#include "ChangeHistory.h"
#include "Commands.h"
#include "Diagnostics.h"
#include "KeyFilter.h"
#include "SettingsFile.h"
#include "WideText.h"

namespace dicomsettings_tool {
namespace {

int g_stopWrite = -1;  // the self-pipe a stopping signal writes to

void OnStop(int) {
  const char byte = 1;
  if (write(g_stopWrite, &byte, 1) < 0) {
    // Nothing to do in a signal handler; the pipe holds a byte already.
  }
}

std::string UtcNow() {
  const time_t now = time(nullptr);
  tm parts;
  gmtime_r(&now, &parts);
  char text[32];
  strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
  return text;
}

std::optional<std::string> Narrow(const std::optional<std::wstring>& text) {
  return text ? std::optional<std::string>(ToUtf8(*text)) : std::nullopt;
}

}  // namespace

int RunWatch(const std::string& file, const std::vector<std::string>& keys, bool json, long count) {
  KeyFilters filters;
  std::string why;
  if (!ParseFilters(keys, &filters, &why)) return ReportError(kExitUsage, file, why);
  std::vector<const SectionSchema*> areas;
  if (!SelectAreas({}, &areas, &why)) return ReportError(kExitUsage, file, why);
  SettingsFile settings(file);
  if (const int failed = OpenOrReport(settings)) return failed;
  int fd = -1;
  if (StoreWatch(settings.Path(), &fd) != STORE_OK) {
    return ReportError(kExitUsage, file, FailureText(settings.Path()));
  }
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return ReportError(kExitUsage, file, "no pipe for signals");
  g_stopWrite = pipeFds[1];
  struct sigaction stop {};
  stop.sa_handler = OnStop;
  sigaction(SIGINT, &stop, nullptr);
  sigaction(SIGTERM, &stop, nullptr);
  std::vector<AreaReading> before;
  if (!ReadAreas(settings, areas, &before, &why)) return ReportError(kExitUsage, file, why);
  long printed = 0;
  while (count <= 0 || printed < count) {
    pollfd fds[2] = {{pipeFds[0], POLLIN, 0}, {fd, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0 && errno != EINTR) break;
    if (fds[0].revents != 0) break;
    if (fds[1].revents == 0) continue;
    int changed = 0;
    StoreWaitForChange(settings.Path(), 0, &changed);
    if (changed == 0) continue;
    if (StoreLoad(settings.Path()) != STORE_OK) {
      ReportError(kExitProblems, file, FailureText(settings.Path()));
      continue;
    }
    // The etcd revision read (0 for a file): the change is no later than it.
    long long revision = 0;
    StoreGetRevision(settings.Path(), &revision);
    std::vector<AreaReading> after;
    if (!ReadAreas(settings, areas, &after, &why)) return ReportError(kExitUsage, file, why);
    for (const Difference& difference : CompareReadings(before, after)) {
      const std::string key = ToUtf8(difference.key);
      if (!Wanted(filters, key) || (count > 0 && printed >= count)) continue;
      if (json) {
        const auto text = [](const std::optional<std::wstring>& value) {
          return value ? nlohmann::ordered_json(ToUtf8(*value)) : nlohmann::ordered_json(nullptr);
        };
        nlohmann::ordered_json line{{"key", key},
                                    {"old", text(difference.first)},
                                    {"new", text(difference.second)},
                                    {"time", UtcNow()}};
        if (revision > 0) line["revision"] = revision;
        std::cout << line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
                  << std::endl;
      } else {
        std::cout << ChangeLine(key, Narrow(difference.first), Narrow(difference.second))
                  << std::endl;
      }
      ++printed;
    }
    before.swap(after);
  }
  close(pipeFds[0]);
  close(pipeFds[1]);
  return kExitSuccess;
}

}  // namespace dicomsettings_tool
