// Benchmarks of whole-file work: StoreOpen (with the last StoreClose) in turns
// with pugixml's load_file; StoreSave without its fsyncs in turns with pugixml's
// save_file, and with them against save_file apart; a save of one changed value
// with its change record in turns with one without (DICOMSETTINGS_HISTORY_LIMIT=0),
// fsyncs and all, by the wall clock. Each works on its own copy of the fixture file.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "BenchFixtures.h"
#include "KeyTreeStore.h"
#include "file/FileSystem.h"

namespace bench {
namespace {

// The real file system without its fsyncs: what is left of a save is its format
// and file work.
class NoSyncFileSystem : public keytreestore::FileSystem {
 public:
  int Fsync(int) override { return 0; }
  int FsyncDirectory(int) override { return 0; }
};

std::wstring Wide(const std::string& text) {
  return std::wstring(text.begin(), text.end());
}

void SaveWithStore(benchmark::State& state, const std::wstring& path) {
  if (StoreOpen(path.c_str(), 1) != STORE_OK) {
    state.SkipWithError("StoreOpen failed");
    return;
  }
  for (auto _ : state) {
    if (StoreSave(path.c_str()) != STORE_OK) state.SkipWithError("StoreSave failed");
  }
  StoreClose(path.c_str(), 1);
}

// Sets /Bench/Value anew on the open file at path and saves it, its change record
// kept or not.
void SaveOneValue(benchmark::State& state, const std::wstring& path, bool recorded, int* round) {
  setenv("DICOMSETTINGS_HISTORY_LIMIT", recorded ? "1000" : "0", 1);
  StoreSetValue(path.c_str(), L"/Bench/Value", std::to_wstring(++*round).c_str());
  if (StoreSave(path.c_str()) != STORE_OK) state.SkipWithError("StoreSave failed");
}

}  // namespace

void RegisterFileBenchmarks(LoadedFixture& fixture) {
  const std::string& file = fixture.label;
  const std::string openCopy = CopyFile(fixture.file.path, "open-" + file + ".xml");
  const std::string saveCopy = CopyFile(fixture.file.path, "save-" + file + ".xml");
  const std::string peerCopy = CopyFile(fixture.file.path, "peer-" + file + ".xml");
  Repeated(benchmark::RegisterBenchmark(BenchName("open", "store_paired", file).c_str(),
                                        [=](auto& state) {
                                          const std::wstring path = Wide(openCopy);
                                          Paired(
                                              state,
                                              [&] {
                                                if (StoreOpen(path.c_str(), 1) != STORE_OK)
                                                  state.SkipWithError("StoreOpen failed");
                                                StoreClose(path.c_str(), 1);
                                              },
                                              [&] {
                                                pugi::xml_document document;
                                                if (!document.load_file(openCopy.c_str()))
                                                  state.SkipWithError("load_file failed");
                                              });
                                        }))
      ->Unit(benchmark::kMillisecond)
      ->MinTime(0.3);
  benchmark::RegisterBenchmark(BenchName("save", "store_fsync", file).c_str(), [=](auto& state) {
    SaveWithStore(state, Wide(saveCopy));
  })->Unit(benchmark::kMillisecond);
  const pugi::xml_document* dom = &fixture.dom;
  benchmark::RegisterBenchmark(BenchName("save", "pugixml_save", file).c_str(), [=](auto& state) {
    for (auto _ : state) {
      if (!dom->save_file(peerCopy.c_str(), "  ")) state.SkipWithError("save_file failed");
    }
  })->Unit(benchmark::kMillisecond);
  Repeated(benchmark::RegisterBenchmark(BenchName("save", "store_no_fsync_paired", file).c_str(),
                                        [=](auto& state) {
                                          NoSyncFileSystem noSync;
                                          keytreestore::ScopedFileSystem installed(noSync);
                                          const std::wstring path = Wide(saveCopy);
                                          if (StoreOpen(path.c_str(), 1) != STORE_OK) {
                                            state.SkipWithError("StoreOpen failed");
                                            return;
                                          }
                                          Paired(
                                              state,
                                              [&] {
                                                if (StoreSave(path.c_str()) != STORE_OK)
                                                  state.SkipWithError("StoreSave failed");
                                              },
                                              [&] {
                                                if (!dom->save_file(peerCopy.c_str(), "  "))
                                                  state.SkipWithError("save_file failed");
                                              });
                                          StoreClose(path.c_str(), 1);
                                        }))
      ->Unit(benchmark::kMillisecond);
  const std::string recordCopy = CopyFile(fixture.file.path, "record-" + file + ".xml");
  const std::string plainCopy = CopyFile(fixture.file.path, "plain-" + file + ".xml");
  Repeated(benchmark::RegisterBenchmark(
               BenchName("save_record", "store_paired", file).c_str(),
               [=](auto& state) {
                 const std::wstring recorded = Wide(recordCopy);
                 const std::wstring plain = Wide(plainCopy);
                 int round = 0;
                 if (StoreOpen(recorded.c_str(), 1) != STORE_OK ||
                     StoreOpen(plain.c_str(), 1) != STORE_OK) {
                   state.SkipWithError("StoreOpen failed");
                   return;
                 }
                 Paired(
                     state, [&] { SaveOneValue(state, recorded, true, &round); },
                     [&] { SaveOneValue(state, plain, false, &round); }, WallNanoseconds);
                 unsetenv("DICOMSETTINGS_HISTORY_LIMIT");
                 StoreClose(recorded.c_str(), 1);
                 StoreClose(plain.c_str(), 1);
               }))
      ->Unit(benchmark::kMillisecond);
}

}  // namespace bench
