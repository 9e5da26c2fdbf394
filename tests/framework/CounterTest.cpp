// Section and element counters: the key and file they ask the store about, the
// clamp to the capacity, and failed store calls, over the recording stand-in store.
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
  CEchoScuSetting echo(L"A");
  CStorageScuSetting storage(L"B");
  CDicomErrorSetting errors(L"C");
  EchoScu::CSyntax repointed;
  ASSERT_EQ(repointed.Initialize(L"D", L"/PrintScu/Syntax", 0), 0);
  const struct {
    std::function<int()> count;
    const wchar_t* path;
    const wchar_t* key;
    int capacity;
  } counters[] = {
      {[&] { return echo.GetCountSyntax(); }, L"A", L"/EchoScu/Syntax", 1},
      {[&] { return echo.Syntax[0].GetCountTransferSyntax(); }, L"A",
       L"/EchoScu/Syntax[0]/TransferSyntax", 1},
      {[&] { return storage.GetCountSyntax(); }, L"B", L"/StorageScu/Syntax", 4},
      {[&] { return storage.Syntax[3].GetCountTransferSyntax(); }, L"B",
       L"/StorageScu/Syntax[3]/TransferSyntax", 4},
      {[&] { return errors.GetCountDicomError(); }, L"C", L"/DicomErrorSetting/DicomError", 300},
      {[&] { return repointed.GetCountTransferSyntax(); }, L"D",
       L"/PrintScu/Syntax[0]/TransferSyntax", 1},
  };
  for (const auto& c : counters) {
    const struct {
      int result;
      int stored;
      int counted;
    } answers[] = {{STORE_OK, c.capacity + 2, c.capacity},
                   {STORE_OK, c.capacity, c.capacity},
                   {STORE_OK, c.capacity - 1, c.capacity - 1},
                   {STORE_OK, 0, 0},
                   {STORE_OK, -2, -2},
                   {STORE_E_NOT_OPEN, 1, 0},
                   {STORE_E_BAD_KEY, c.capacity + 2, 0}};
    for (const auto& a : answers) {
      store.Reset();
      store.results["StoreGetNodeCount"] = a.result;
      store.nodeCount = a.stored;
      EXPECT_EQ(c.count(), a.counted) << c.key << " stored " << a.stored;
      ASSERT_EQ(store.calls.size(), 1u);
      EXPECT_EQ(store.calls[0].path, c.path);
      EXPECT_EQ(store.calls[0].key, c.key);
    }
  }
}

}  // namespace
