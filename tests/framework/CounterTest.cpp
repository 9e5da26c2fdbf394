// Section and element counters: the clamp to the capacity and failed store calls,
// over the recording stand-in store (every counter's own key and capacity are
// checked on real files by sections_test).
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "DicomSettings.h"
#include "KeyTreeStore.h"
#include "RecordingStore.h"

namespace {

using namespace DicomAccessLibraryCpp;

using CounterTest = RecordingStoreTest;

TEST_F(CounterTest, CountsAreClampedToTheCapacityAndFailuresCountZero) {
  CStorageScuSetting storage(L"B");
  const struct {
    std::function<int()> count;
    const wchar_t* key;
    int capacity;
  } counters[] = {
      {[&] { return storage.GetCountSyntax(); }, L"/StorageScu/Syntax", 4},
      {[&] { return storage.Syntax[3].GetCountTransferSyntax(); },
       L"/StorageScu/Syntax[3]/TransferSyntax", 4},
  };
  for (const auto& c : counters) {
    const struct {
      int result;
      int stored;
      int counted;
    } answers[] = {{STORE_OK, c.capacity + 2, c.capacity},
                   {STORE_OK, c.capacity, c.capacity},
                   {STORE_OK, c.capacity - 1, c.capacity - 1},
                   {STORE_E_NOT_OPEN, 1, 0},
                   {STORE_E_BAD_KEY, c.capacity + 2, 0}};
    for (const auto& a : answers) {
      store.Reset();
      store.results["StoreGetNodeCount"] = a.result;
      store.nodeCount = a.stored;
      EXPECT_EQ(c.count(), a.counted) << c.key << " stored " << a.stored;
      EXPECT_EQ(store.Trace(),
                std::vector<std::wstring>{L"StoreGetNodeCount B " + std::wstring(c.key)});
    }
  }
}

}  // namespace
