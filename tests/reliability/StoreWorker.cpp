// A second process for the reliability tests, writing a settings file through the
// store:
//   store_worker save-loop PATH FIRST  saves versions FIRST, FIRST+1, ... until
//       killed; every key of a version holds the version's number, and each
//       version is reported on standard output as a line once its save returned.
//   store_worker rounds PATH ID ROUNDS  in each round sets /WriterID/R<round> and
//       /Shared/Last to "ID:<round>" and saves; exits 0 when every save succeeded.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "KeyTreeStore.h"
#include "VersionedFile.h"

namespace {

std::wstring Widen(const char* text) {
  return std::wstring(text, text + std::strlen(text));
}

int SaveLoop(const std::wstring& path, long first) {
  if (StoreOpen(path.c_str(), 1) != STORE_OK) return 2;
  for (long version = first;; ++version) {
    if (!SetVersion(path, version)) return 3;
    if (StoreSave(path.c_str()) != STORE_OK) return 4;
    const std::string line = std::to_string(version) + "\n";
    if (write(STDOUT_FILENO, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
      return 5;
    }
  }
}

int Rounds(const std::wstring& path, const std::string& id, int rounds) {
  if (StoreOpen(path.c_str(), 1) != STORE_OK) return 2;
  for (int round = 0; round < rounds; ++round) {
    const std::wstring value = Widen((id + ":" + std::to_string(round)).c_str());
    const std::wstring own = Widen(("/Writer" + id + "/R" + std::to_string(round)).c_str());
    if (StoreSetValue(path.c_str(), own.c_str(), value.c_str()) != STORE_OK) return 3;
    if (StoreSetValue(path.c_str(), L"/Shared/Last", value.c_str()) != STORE_OK) return 3;
    const int saved = StoreSave(path.c_str());
    if (saved != STORE_OK) {
      std::fprintf(stderr, "worker %s round %d: save gave %d\n", id.c_str(), round, saved);
      return 4;
    }
  }
  return StoreClose(path.c_str(), 1) == STORE_OK ? 0 : 5;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "save-loop" && argc == 4) return SaveLoop(Widen(argv[2]), std::atol(argv[3]));
  if (mode == "rounds" && argc == 5) return Rounds(Widen(argv[2]), argv[3], std::atoi(argv[4]));
  std::fprintf(stderr, "usage: store_worker save-loop PATH FIRST | rounds PATH ID ROUNDS\n");
  return 1;
}
