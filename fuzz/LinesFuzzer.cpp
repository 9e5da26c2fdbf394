// Fuzzes reading an area kept in etcd: whatever text the key holds, building the
// tree from it never crashes or overruns, and a tree it builds writes lines that
// build the same tree again, and a file the store opens again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "etcd/AreaText.h"

using keytreestore::SettingsDocument;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  SettingsDocument tree;
  std::string fault;
  if (tree.MakeEmpty() != STORE_OK ||
      keytreestore::AddArea(tree, "Area", text, &fault) != STORE_OK) {
    return 0;
  }
  const std::string lines = keytreestore::AreaText(tree.Root().child("Area"));
  SettingsDocument again;
  again.MakeEmpty();
  if (keytreestore::AddArea(again, "Area", lines, &fault) != STORE_OK ||
      keytreestore::AreaText(again.Root().child("Area")) != lines) {
    std::abort();
  }
  SettingsDocument file;
  if (file.Parse(tree.Serialize(), nullptr) != STORE_OK) std::abort();
  return 0;
}
