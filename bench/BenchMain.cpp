// The benchmark program: writes the base and the x10 settings files into a
// temporary folder, opens them in the store and loads them into pugixml and
// Boost.PropertyTree, runs every benchmark, and prints the table of ratios.
// Usage: dicomsettings_bench [google benchmark options]
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
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

std::string BenchName(const std::string& operation, const std::string& subject,
                      const std::string& file) {
  return operation + "/" + subject + "/" + file;
}

}  // namespace bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  std::string folder = (std::filesystem::temp_directory_path() / "dicomsettings-bench-XXXXXX");
  if (mkdtemp(folder.data()) == nullptr) {
    std::cerr << "cannot create a temporary folder\n";
    return 1;
  }
  std::vector<std::unique_ptr<bench::LoadedFixture>> fixtures;
  for (const int factor : {1, 10}) {
    auto fixture = std::make_unique<bench::LoadedFixture>();
    fixture->label = factor == 1 ? "base" : "x10";
    fixture->file = bench::WriteFixture(folder + "/settings-" + fixture->label + ".xml", factor);
    fixture->dom.load_file(fixture->file.path.c_str());
    fixture->tree = bench::ReadPropertyTree(fixture->file.path);
    std::cout << fixture->label << " file: " << fixture->file.keys.size() << " values, "
              << fixture->file.bytes << " bytes\n";
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
  for (auto& fixture : fixtures) {
    bench::RegisterStoreBenchmarks(*fixture);
    bench::RegisterPeerBenchmarks(*fixture);
  }
  for (auto& fixture : fixtures) bench::RegisterFileBenchmarks(*fixture);
  bench::RegisterSectionBenchmarks(fixtures.front()->file);

  bench::RatioTable table;
  benchmark::RunSpecifiedBenchmarks(&table);
  const int missed = table.Print(std::cout);
  for (auto& fixture : fixtures) StoreClose(fixture->file.widePath.c_str(), 1);
  benchmark::Shutdown();
  std::filesystem::remove_all(folder);
  return missed == 0 ? 0 : 3;
}
