// Fuzzes loading settings files: whatever bytes the file holds (in whatever
// encoding it declares), checking and opening it agree, keys read without
// overrun, and a file the store saved opens again and gives back the same values
// as before the save.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzFile.h"

namespace {

const wchar_t* const kKeys[] = {L"/A",
                                L"/A/B",
                                L"/A/B[1]",
                                L"/a/a/a",
                                L"/Settings",
                                L"/EchoScu/TaskCount",
                                L"/EchoScu/Syntax[0]/TransferSyntax[1]/SyntaxValue",
                                L"/Service/Common/PduMaxLength"};
constexpr size_t kKeyCount = std::size(kKeys);

// What the fixed keys give: read results, texts and counts.
struct Snapshot {
  int results[kKeyCount];
  std::wstring texts[kKeyCount];
  int counts[kKeyCount];
  bool operator==(const Snapshot& other) const {
    for (size_t i = 0; i < kKeyCount; ++i) {
      if (results[i] != other.results[i] || texts[i] != other.texts[i] ||
          counts[i] != other.counts[i]) {
        return false;
      }
    }
    return true;
  }
};

Snapshot Take(const wchar_t* path) {
  Snapshot snapshot;
  for (size_t i = 0; i < kKeyCount; ++i) {
    snapshot.results[i] = GuardedGet(path, kKeys[i], &snapshot.texts[i]);
    snapshot.counts[i] = -1;
    if (StoreGetNodeCount(&snapshot.counts[i], path, kKeys[i]) != STORE_OK) std::abort();
  }
  return snapshot;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FuzzFile file;
  const wchar_t* path = file.c_path();
  file.Write(data, size);
  StoreParseError error;
  const int checked = StoreCheckFile(path, &error);
  const int opened = StoreOpen(path, 1);
  if (checked != opened || error.result != checked) std::abort();
  if (opened != STORE_OK) {
    if (opened != STORE_E_PARSE || error.line < 1 || error.column < 1) std::abort();
    return 0;
  }
  const Snapshot before = Take(path);
  const wchar_t kValue[] = L"fuzz \U0001F600 <&> ]]>";
  const int set = StoreSetValue(path, L"/Fuzz/Value", kValue);
  char encoding[64];
  if (StoreGetEncoding(path, encoding, sizeof encoding) != STORE_OK) std::abort();
  // A file in a legacy encoding may not hold the value: refused, never mangled.
  if (set == STORE_E_BAD_ARGUMENT && std::string(encoding) != "UTF-8") {
    if (StoreClose(path, 1) != STORE_OK) std::abort();
    return 0;
  }
  if (set != STORE_OK) std::abort();
  if (StoreSave(path) != STORE_OK) std::abort();
  int updated = -1;
  if (StoreDataUpdateCheck(&updated, path) != STORE_OK || updated != 0) std::abort();
  if (StoreClose(path, 1) != STORE_OK) std::abort();
  // What the store saved, it opens again, with the same values.
  if (StoreOpen(path, 1) != STORE_OK) std::abort();
  std::wstring value;
  if (GuardedGet(path, L"/Fuzz/Value", &value) != STORE_OK || value != kValue) std::abort();
  if (!(Take(path) == before)) std::abort();
  if (StoreClose(path, 1) != STORE_OK) std::abort();
  return 0;
}
