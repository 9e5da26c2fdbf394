// What every section object does, checked on the storage section (a list of
// entries with nested lists) over the recording stand-in store: binding at
// construction and copy construction. The expected keys are the class's own
// table (held against keys.txt by sections_test); each proxy must be bound to
// its row's key.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "RecordingStore.h"
#include "SchemaLeaves.h"

namespace {

using namespace DicomAccessLibraryCpp;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

// Reads every proxy of a section over the recording store.
class SectionTest : public RecordingStoreTest {
 protected:
  // The trace of reading every proxy of s, and the trace expected: one read of
  // each key of the table in file path.
  std::vector<std::wstring> ReadTrace(CStorageScuSetting& s) {
    const std::vector<Leaf> leaves = SectionLeaves(s, CStorageScuSetting::Schema());
    store.Reset();
    ReadEach(leaves);
    return store.Trace();
  }
  static std::vector<std::wstring> Reads(CStorageScuSetting& s, const std::wstring& path) {
    std::vector<std::wstring> trace;
    for (const Leaf& leaf : SectionLeaves(s, CStorageScuSetting::Schema()))
      trace.push_back(L"StoreGetValue " + path + L" " + leaf.key);
    return trace;
  }
};

TEST_F(SectionTest, ConstructionBindsEveryKeyWithoutStoreCall) {
  auto section = std::make_unique<CStorageScuSetting>(L"A", 3);
  EXPECT_THAT(store.calls, IsEmpty());
  EXPECT_THAT(ReadTrace(*section), ElementsAreArray(Reads(*section, L"A")));
  // The longest path is kept whole; one too long to keep names no file.
  const std::wstring longest = L"C:/" + std::wstring(256, L'p');
  for (const auto& [path, used] : {std::pair{longest, longest}, {longest + L"p", std::wstring()}}) {
    section = std::make_unique<CStorageScuSetting>(path.c_str());
    EXPECT_THAT(ReadTrace(*section), ElementsAreArray(Reads(*section, used)));
  }
}

TEST_F(SectionTest, CopyIsBoundAfreshAndHoldsItsOwnOpen) {
  CStorageScuSetting source(L"A", 5);
  ASSERT_EQ(source.Open(), 0);
  source.Syntax[0].Initialize(L"Z", L"/Elsewhere", 9);
  store.Reset();
  {
    CStorageScuSetting copy(source);
    ASSERT_EQ(store.Trace(), std::vector<std::wstring>{L"StoreOpen A"});
    EXPECT_EQ(store.calls[0].comInitFlag, 5);
    EXPECT_EQ(copy.Syntax[0].GetIndex(), 0);
    EXPECT_THAT(ReadTrace(copy), ElementsAreArray(Reads(copy, L"A")));
    store.Reset();
  }
  EXPECT_EQ(store.Trace(), std::vector<std::wstring>{L"StoreClose A"});
  EXPECT_TRUE(source.IsOpen());
}

}  // namespace
