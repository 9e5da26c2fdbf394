// A list counter's clamp to the capacity and its count of a failed store call,
// over the recording stand-in store (every counter's own key and capacity are
// checked on real files by sections_test).
#include <gtest/gtest.h>

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
    int result;
    int stored;
    int counted;
  } answers[] = {{STORE_OK, 6, 4},
                 {STORE_OK, 4, 4},
                 {STORE_OK, 3, 3},
                 {STORE_E_NOT_OPEN, 1, 0},
                 {STORE_E_BAD_KEY, 6, 0}};
  for (const auto& a : answers) {
    store.Reset();
    store.results["StoreGetNodeCount"] = a.result;
    store.nodeCount = a.stored;
    EXPECT_EQ(storage.Syntax[3].GetCountTransferSyntax(), a.counted) << "stored " << a.stored;
    EXPECT_EQ(store.Trace(), std::vector<std::wstring>{
                                 L"StoreGetNodeCount B /StorageScu/Syntax[3]/TransferSyntax"});
  }
}

}  // namespace
