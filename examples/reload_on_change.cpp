// A service loop that takes changed settings as soon as another process saves
// them: it opens its section, asks for change notification, and waits on the
// descriptor in its poll loop (where a service would also wait on its sockets).
// On a change it reloads and uses the new values; between changes it never asks
// the store, and GetDataUpdateCheck costs no request.
//
// Usage: reload_on_change PATH [CHANGES]
//   PATH     a settings file or an etcd:// path holding /EchoScu
//   CHANGES  how many changes to take before ending (default: until killed)
#include <DicomSettings/DicomSettings.h>
#include <poll.h>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace DicomAccessLibraryCpp;

namespace {

void Show(CEchoScuSetting& echo) {
  std::printf("task count %d, client AE title %ls\n", static_cast<int>(echo.TaskCount),
              std::wstring(echo.ClientAeTitle).c_str());
  std::fflush(stdout);
}

int Fail(const char* path, const char* what, int result) {
  std::fprintf(stderr, "reload_on_change: %s: %s: %s\n", path, what,
               AccessLibraryBaseCpp::ResultText(result));
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: reload_on_change PATH [CHANGES]\n");
    return 2;
  }
  const std::string narrow = argv[1];
  const std::wstring path(narrow.begin(), narrow.end());
  const long changes = argc == 3 ? std::strtol(argv[2], nullptr, 10) : -1;

  CEchoScuSetting echo(path.c_str());
  if (const int result = echo.Open()) return Fail(argv[1], "open", result);
  // Watch right after the read: a change saved in between is not missed.
  int fd = -1;
  if (const int result = echo.Watch(&fd)) return Fail(argv[1], "watch", result);
  Show(echo);

  for (long taken = 0; changes < 0 || taken < changes;) {
    pollfd ready = {fd, POLLIN, 0};
    if (poll(&ready, 1, -1) < 0) continue;  // interrupted: wait again
    // Reads the descriptor empty; changed is 0 when it was this process's own save.
    int changed = 0;
    if (const int result = echo.WaitForChange(0, &changed)) return Fail(argv[1], "wait", result);
    if (changed == 0) continue;
    // A burst of saves wakes the loop once; the reload takes the newest.
    if (const int result = echo.Load()) return Fail(argv[1], "reload", result);
    Show(echo);
    ++taken;
  }
  return 0;
}
