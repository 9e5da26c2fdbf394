// What every section object does, checked on sections of three shapes over the
// recording stand-in store: binding at construction and copy construction. The
// expected keys are the class's own table (held against keys.txt by
// sections_test); each proxy must be bound to its row's key.
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

// The first element of each shape's first list.
auto& First(CEchoScuSetting& s) {
  return s.Syntax[0];
}
auto& First(CStorageScuSetting& s) {
  return s.Syntax[0];
}
auto& First(CDicomErrorSetting& s) {
  return s.DicomError[0];
}

template <class S>
class SectionTest : public RecordingStoreTest {
 protected:
  // The trace of reading every proxy of s, and the trace expected: one read of
  // each key of the table in file path.
  std::vector<std::wstring> ReadTrace(S& s) {
    const std::vector<Leaf> leaves = SectionLeaves(s, S::Schema());
    store.Reset();
    ReadEach(leaves);
    return store.Trace();
  }
  static std::vector<std::wstring> Reads(S& s, const std::wstring& path) {
    std::vector<std::wstring> trace;
    for (const Leaf& leaf : SectionLeaves(s, S::Schema()))
      trace.push_back(L"StoreGetValue " + path + L" " + leaf.key);
    return trace;
  }
};

using Sections = ::testing::Types<CEchoScuSetting, CStorageScuSetting, CDicomErrorSetting>;
TYPED_TEST_SUITE(SectionTest, Sections);

TYPED_TEST(SectionTest, ConstructionBindsEveryKeyWithoutStoreCall) {
  auto section = std::make_unique<TypeParam>(L"A", 3);
  EXPECT_THAT(this->store.calls, IsEmpty());
  EXPECT_THAT(this->ReadTrace(*section), ElementsAreArray(this->Reads(*section, L"A")));
  // The longest path is kept whole; one too long to keep names no file.
  const std::wstring longest = L"C:/" + std::wstring(256, L'p');
  for (const auto& [path, used] : {std::pair{longest, longest}, {longest + L"p", std::wstring()}}) {
    section = std::make_unique<TypeParam>(path.c_str());
    EXPECT_THAT(this->ReadTrace(*section), ElementsAreArray(this->Reads(*section, used)));
  }
}

TYPED_TEST(SectionTest, CopyIsBoundAfreshAndHoldsItsOwnOpen) {
  TypeParam source(L"A", 5);
  ASSERT_EQ(source.Open(), 0);
  First(source).Initialize(L"Z", L"/Elsewhere", 9);
  this->store.Reset();
  {
    TypeParam copy(source);
    ASSERT_EQ(this->store.Trace(), std::vector<std::wstring>{L"StoreOpen A"});
    EXPECT_EQ(this->store.calls[0].comInitFlag, 5);
    EXPECT_EQ(First(copy).GetIndex(), 0);
    EXPECT_THAT(this->ReadTrace(copy), ElementsAreArray(this->Reads(copy, L"A")));
    this->store.Reset();
  }
  EXPECT_EQ(this->store.Trace(), std::vector<std::wstring>{L"StoreClose A"});
  EXPECT_TRUE(source.IsOpen());
}

}  // namespace
