// The access base's open state, its store calls and its path handling, over the
// recording stand-in store.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "AccessLibraryBaseCpp.h"
#include "KeyTreeStore.h"
#include "RecordingStore.h"

namespace {

using AccessLibraryBaseCpp::CAccessLibraryBaseCpp;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

using AccessBaseTest = RecordingStoreTest;

TEST_F(AccessBaseTest, OpenStateGuardsEveryCallAndOnlySuccessChangesIt) {
  store.results["StoreOpen"] = STORE_E_PARSE;
  { CAccessLibraryBaseCpp(L"X").Open(); }  // never opened: destruction closes nothing
  {
    CAccessLibraryBaseCpp base(L"A", 3);
    EXPECT_EQ(base.Close(), 201);
    EXPECT_EQ(base.Save(), 201);
    EXPECT_EQ(base.Load(), 201);
    EXPECT_EQ(base.Open(), STORE_E_PARSE);
    EXPECT_EQ(base.Save(), 201);
    store.results.clear();
    EXPECT_EQ(base.Open(), 0);
    EXPECT_EQ(base.Open(), 201);
    store.results["StoreSave"] = STORE_E_IO;
    EXPECT_EQ(base.Save(), STORE_E_IO);
    EXPECT_EQ(base.Load(), 0);
    EXPECT_EQ(base.Close(), 0);
    EXPECT_EQ(base.Close(), 201);
    EXPECT_EQ(base.Open(), 0);
    store.results["StoreClose"] = STORE_E_TOO_LONG;
    EXPECT_EQ(base.Close(), STORE_E_TOO_LONG);
    EXPECT_TRUE(base.IsOpen());  // still open: destruction closes it
  }
  EXPECT_THAT(store.Trace(), ElementsAre(L"StoreOpen X", L"StoreOpen A", L"StoreOpen A",
                                         L"StoreSave A", L"StoreLoad A", L"StoreClose A",
                                         L"StoreOpen A", L"StoreClose A", L"StoreClose A"));
  EXPECT_EQ(store.calls[2].comInitFlag, 3);
  EXPECT_EQ(store.calls[8].comInitFlag, 3);
  // The library names its own code; every other is the store's to name.
  EXPECT_STREQ(AccessLibraryBaseCpp::ResultText(201), "the object is not in the right open state");
  EXPECT_STREQ(AccessLibraryBaseCpp::ResultText(STORE_E_IO), "recorded");
}

TEST_F(AccessBaseTest, UpdateCheckAsksTheStoreEvenWhenClosed) {
  CAccessLibraryBaseCpp base(L"A");
  EXPECT_EQ(base.GetDataUpdateCheck(), 0);
  store.updated = 1;
  store.results["StoreDataUpdateCheck"] = STORE_E_NOT_OPEN;  // the result is not looked at
  EXPECT_EQ(base.GetDataUpdateCheck(), 1);
  EXPECT_EQ(store.calls.size(), 2u);
}

TEST_F(AccessBaseTest, WatchCallsNeedAnOpenObjectAndGiveTheStoresResults) {
  CAccessLibraryBaseCpp base(L"A");
  int fd = -1;
  int changed = -1;
  EXPECT_EQ(base.Watch(&fd), 201);
  EXPECT_EQ(base.WaitForChange(0, &changed), 201);
  EXPECT_EQ(base.Unwatch(), 201);
  EXPECT_EQ(fd, -1);
  ASSERT_EQ(base.Open(), 0);
  store.results["StoreWatch"] = STORE_E_IO;
  EXPECT_EQ(base.Watch(&fd), STORE_E_IO);
  store.results.clear();
  EXPECT_EQ(base.Watch(&fd), 0);
  EXPECT_EQ(fd, 7);
  store.updated = 1;
  EXPECT_EQ(base.WaitForChange(10, &changed), 0);
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(base.Unwatch(), 0);
  EXPECT_THAT(store.Trace(), ElementsAre(L"StoreOpen A", L"StoreWatch A", L"StoreWatch A",
                                         L"StoreWaitForChange A", L"StoreUnwatch A"));
}

TEST_F(AccessBaseTest, OverlongOrNullPathIsNeverCutShort) {
  const std::wstring fits = L"C:/" + std::wstring(256, L'p');  // 259 characters
  const std::wstring tooLong = fits + L"q";
  for (const auto& [path, opened] :
       {std::pair{fits.c_str(), fits}, std::pair{tooLong.c_str(), std::wstring()},
        std::pair{static_cast<const wchar_t*>(nullptr), std::wstring()}}) {
    store.Reset();
    CAccessLibraryBaseCpp base(path);
    CAccessLibraryBaseCpp copy(base);
    copy.Open();
    ASSERT_EQ(store.calls.size(), 1u);
    EXPECT_FALSE(store.calls[0].pathNull);
    EXPECT_EQ(store.calls[0].path, opened);
    EXPECT_EQ(store.calls[0].comInitFlag, 1);  // the longest path does not spill over it
  }
}

TEST_F(AccessBaseTest, CopyOfOpenObjectHoldsItsOwnOpen) {
  CAccessLibraryBaseCpp original(L"A", 4);
  CAccessLibraryBaseCpp closed(L"B");
  ASSERT_EQ(original.Open(), 0);
  {
    CAccessLibraryBaseCpp copy(original);
    CAccessLibraryBaseCpp copyOfClosed(closed);
    EXPECT_TRUE(copy.IsOpen());
    EXPECT_FALSE(copyOfClosed.IsOpen());
    store.results["StoreOpen"] = STORE_E_NO_MEMORY;
    CAccessLibraryBaseCpp failed(original);
    EXPECT_FALSE(failed.IsOpen());
  }
  EXPECT_TRUE(original.IsOpen());
  EXPECT_THAT(store.Trace(),
              ElementsAre(L"StoreOpen A", L"StoreOpen A", L"StoreOpen A", L"StoreClose A"));
  EXPECT_EQ(store.calls[1].comInitFlag, 4);
}

TEST_F(AccessBaseTest, AssignmentClosesWhatItHeldAndOpensTheOthersPath) {
  CAccessLibraryBaseCpp a(L"A");
  CAccessLibraryBaseCpp b(L"B", 5);
  CAccessLibraryBaseCpp closed(L"C");
  ASSERT_EQ(a.Open(), 0);
  ASSERT_EQ(b.Open(), 0);
  store.Reset();
  a = b;
  EXPECT_TRUE(a.IsOpen());
  CAccessLibraryBaseCpp& self = a;
  a = self;  // changes nothing
  EXPECT_THAT(store.Trace(), ElementsAre(L"StoreClose A", L"StoreOpen B"));
  EXPECT_EQ(store.calls[1].comInitFlag, 5);
  a = closed;
  EXPECT_FALSE(a.IsOpen());
  EXPECT_EQ(a.Open(), 0);
  EXPECT_THAT(store.Trace(),
              ElementsAre(L"StoreClose A", L"StoreOpen B", L"StoreClose B", L"StoreOpen C"));
}

}  // namespace
