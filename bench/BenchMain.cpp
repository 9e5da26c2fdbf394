// The benchmark program: writes the settings files of every kind (plain and as
// sites have them, base and x10) into a temporary folder, opens them in the
// store and loads them into pugixml and Boost.PropertyTree, runs every
// benchmark, and prints the table of ratios.
// Usage: dicomsettings_bench [google benchmark options]
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <memory>

#include "BenchFixtures.h"
#include "KeyTreeStore.h"
#include "PeerAccess.h"
#include "RatioTable.h"

namespace bench {

std::string CopyFile(const std::string& from, const std::string& name) {
  const std::filesystem::path to = std::filesystem::path(from).parent_path() / name;
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
  return to.string();
}

double ThreadCpuNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

double WallNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

std::string BenchName(const std::string& operation, const std::string& subject,
                      const std::string& file) {
  return operation + "/" + subject + "/" + file;
}

}  // namespace bench

int main(int argc, char** argv) {
  // glibc serves a large block from fresh pages of its own mapping or from the
  // heap, and gives freed heap back to the system, by thresholds it moves as the
  // program runs: which side of a comparison page-faults its file buffers again
  // in every round then depended on what ran before. Fixed thresholds keep every
  // block of both sides on the heap, so the figures compare the work done.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);  // the largest glibc takes
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  benchmark::Initialize(&argc, argv);
  std::string folder = (std::filesystem::temp_directory_path() / "dicomsettings-bench-XXXXXX");
  if (mkdtemp(folder.data()) == nullptr) {
    std::cerr << "cannot create a temporary folder\n";
    return 1;
  }
  std::vector<std::unique_ptr<bench::LoadedFixture>> fixtures;
  for (const bench::FixtureKind& kind : bench::kFixtureKinds) {
    auto fixture = std::make_unique<bench::LoadedFixture>();
    fixture->label = kind.label;
    fixture->style = kind.style;
    fixture->file = bench::WriteFixture(folder + "/settings-" + fixture->label + ".xml",
                                        kind.factor, kind.style);
    fixture->dom.load_file(fixture->file.path.c_str());
    fixture->tree = bench::ReadPropertyTree(fixture->file.path);
    std::cout << fixture->label << " file (" << kind.what << "): " << bench::Describe(fixture->file)
              << "\n";
    if (StoreOpen(fixture->file.widePath.c_str(), 1) != STORE_OK) {
      std::cerr << "StoreOpen failed on " << fixture->file.path << "\n";
      return 1;
    }
    // Every key once, so that the benchmarks measure reads after the first.
    wchar_t value[STORE_VALUE_BUFFER_LENGTH];
    for (const bench::FixtureKey& key : fixture->file.keys) {
      StoreGetValue(value, fixture->file.widePath.c_str(), key.text.c_str());
    }
    fixtures.push_back(std::move(fixture));
  }
  // The editor's layout changes what open and save work on, not the tree.
  for (auto& fixture : fixtures) {
    if (fixture->style == bench::FixtureStyle::Editor) continue;
    bench::RegisterStoreBenchmarks(*fixture);
    bench::RegisterPeerBenchmarks(*fixture);
  }
  for (auto& fixture : fixtures) {
    bench::RegisterFileBenchmarks(*fixture);
    bench::RegisterStartupBenchmarks(*fixture);
    if (fixture->label == "base" || fixture->label == "real") {
      bench::RegisterChainBenchmarks(*fixture);
    }
  }
  bench::RegisterSectionBenchmarks(fixtures.front()->file);

  bench::RatioTable table;
  benchmark::RunSpecifiedBenchmarks(&table);
  const int missed = table.Print(std::cout);
  for (auto& fixture : fixtures) StoreClose(fixture->file.widePath.c_str(), 1);
  benchmark::Shutdown();
  std::filesystem::remove_all(folder);
  return missed == 0 ? 0 : 3;
}
