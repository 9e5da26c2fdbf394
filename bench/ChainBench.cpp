// Benchmarks of settings that extend others: a host file over its site file
// against the site file alone, for a read of every key and for an open, each
// pair timed in turns. The host holds a few values and one list of its own, as a
// gateway's file does; everything else it reads through the site. The keys read
// are those the host answers: entries of the site's list that the host's own list
// replaces name nothing through the host, and a key that names nothing is resolved
// anew on every read, through one source or several.
#include <benchmark/benchmark.h>

#include <fstream>

#include "BenchFixtures.h"
#include "KeyTreeStore.h"

namespace bench {
namespace {

const char kHostBody[] =
    "<EchoScu><ClientAeTitle>GW1</ClientAeTitle><TaskCount>2</TaskCount></EchoScu>"
    "<Mwmscu><Port>4101</Port></Mwmscu>"
    "<DicomClientSetting><DicomClient><ServerAe>OWN</ServerAe><Port>104</Port></DicomClient>"
    "</DicomClientSetting>";

std::wstring Wide(const std::string& text) {
  return std::wstring(text.begin(), text.end());
}

// Opens path and the path of the other side for the whole benchmark.
struct BothOpen {
  BothOpen(const std::wstring& a, const std::wstring& b) : a(a), b(b) {
    ok = StoreOpen(a.c_str(), 1) == STORE_OK && StoreOpen(b.c_str(), 1) == STORE_OK;
  }
  ~BothOpen() {
    StoreClose(a.c_str(), 1);
    StoreClose(b.c_str(), 1);
  }
  std::wstring a, b;
  bool ok;
};

void ReadEvery(const std::vector<std::wstring>& keys, const std::wstring& path) {
  wchar_t value[STORE_VALUE_BUFFER_LENGTH];
  for (const std::wstring& key : keys) {
    benchmark::DoNotOptimize(StoreGetValue(value, path.c_str(), key.c_str()));
  }
}

// The keys of the fixture that path answers.
std::vector<std::wstring> Answered(const std::vector<FixtureKey>& keys, const std::wstring& path) {
  std::vector<std::wstring> answered;
  wchar_t value[STORE_VALUE_BUFFER_LENGTH];
  for (const FixtureKey& key : keys) {
    if (StoreGetValue(value, path.c_str(), key.text.c_str()) == STORE_OK) {
      answered.push_back(key.text);
    }
  }
  return answered;
}

void OpenAndClose(benchmark::State& state, const std::wstring& path) {
  if (StoreOpen(path.c_str(), 1) != STORE_OK) state.SkipWithError("StoreOpen failed");
  StoreClose(path.c_str(), 1);
}

}  // namespace

void RegisterChainBenchmarks(LoadedFixture& fixture) {
  const std::string& file = fixture.label;
  const std::string site = CopyFile(fixture.file.path, "site-" + file + ".xml");
  const std::string host = site.substr(0, site.rfind('/') + 1) + "host-" + file + ".xml";
  std::ofstream(host) << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Settings extends=\"" << site
                      << "\">" << kHostBody << "</Settings>\n";
  const std::vector<FixtureKey>* keys = &fixture.file.keys;
  Repeated(benchmark::RegisterBenchmark(
      BenchName("chain_read", "store_paired", file).c_str(), [=](auto& state) {
        BothOpen open(Wide(host), Wide(site));
        if (!open.ok) return state.SkipWithError("StoreOpen failed");
        const std::vector<std::wstring> read = Answered(*keys, open.a);
        ReadEvery(read, open.b);  // every key once: the reads measured come after the first
        Paired(
            state, [&] { ReadEvery(read, open.a); }, [&] { ReadEvery(read, open.b); });
      }));
  Repeated(benchmark::RegisterBenchmark(BenchName("chain_open", "store_paired", file).c_str(),
                                        [=](auto& state) {
                                          Paired(
                                              state, [&] { OpenAndClose(state, Wide(host)); },
                                              [&] { OpenAndClose(state, Wide(site)); });
                                        }))
      ->Unit(benchmark::kMillisecond);
}

}  // namespace bench
