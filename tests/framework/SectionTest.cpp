// What every section object does, checked on sections of three shapes over the
// recording stand-in store: binding at construction, copy construction, value
// assignment and destruction.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "RecordingStore.h"
#include "SectionKeys.h"

namespace {

using namespace section_keys;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

struct Echo {
  using Section = CEchoScuSetting;
  static std::vector<std::wstring> Keys() { return EchoKeys(); }
  static auto& First(Section& s) { return s.Syntax[0]; }
};
struct Storage {
  using Section = CStorageScuSetting;
  static std::vector<std::wstring> Keys() { return StorageKeys(); }
  static auto& First(Section& s) { return s.Syntax[0]; }
};
struct Errors {
  using Section = CDicomErrorSetting;
  static std::vector<std::wstring> Keys() { return ErrorKeys(); }
  static auto& First(Section& s) { return s.DicomError[0]; }
};

template <class Case>
class SectionTest : public RecordingStoreTest {
 protected:
  using S = typename Case::Section;
  // The trace of reading every proxy: one read of each key in file path.
  static std::vector<std::wstring> Reads(const std::wstring& path) {
    std::vector<std::wstring> trace;
    for (const std::wstring& key : Case::Keys())
      trace.push_back(L"StoreGetValue " + path + L" " + key);
    return trace;
  }
  std::vector<std::wstring> ReadTrace(const S& s) {
    store.Reset();
    ReadAll(s);
    return store.Trace();
  }
};
using Sections = ::testing::Types<Echo, Storage, Errors>;
TYPED_TEST_SUITE(SectionTest, Sections);

TYPED_TEST(SectionTest, ConstructionBindsEveryKeyWithoutStoreCall) {
  auto section = std::make_unique<typename TestFixture::S>(L"A", 3);
  EXPECT_THAT(this->store.calls, IsEmpty());
  EXPECT_THAT(this->ReadTrace(*section), ElementsAreArray(TestFixture::Reads(L"A")));
  // A path too long to keep names no file: every key goes to the empty path.
  const std::wstring tooLong = L"C:/" + std::wstring(257, L'p');
  section = std::make_unique<typename TestFixture::S>(tooLong.c_str());
  EXPECT_THAT(this->ReadTrace(*section), ElementsAreArray(TestFixture::Reads(L"")));
}

TYPED_TEST(SectionTest, CopyIsBoundAfreshAndHoldsItsOwnOpen) {
  typename TestFixture::S source(L"A", 5);
  ASSERT_EQ(source.Open(), 0);
  TypeParam::First(source).Initialize(L"Z", L"/Elsewhere", 9);
  this->store.Reset();
  {
    typename TestFixture::S copy(source);
    ASSERT_EQ(this->store.Trace(), std::vector<std::wstring>{L"StoreOpen A"});
    EXPECT_EQ(this->store.calls[0].comInitFlag, 5);
    EXPECT_EQ(TypeParam::First(copy).GetIndex(), 0);
    EXPECT_THAT(this->ReadTrace(copy), ElementsAreArray(TestFixture::Reads(L"A")));
    this->store.Reset();
  }
  EXPECT_EQ(this->store.Trace(), std::vector<std::wstring>{L"StoreClose A"});
  EXPECT_TRUE(source.IsOpen());
}

TYPED_TEST(SectionTest, AssignmentCopiesReadableValuesInFieldOrderAndKeepsTheDestination) {
  typename TestFixture::S to(L"A");
  typename TestFixture::S from(L"B");
  ASSERT_EQ(from.Open(), 0);
  const std::vector<std::wstring> keys = TypeParam::Keys();
  std::vector<std::wstring> expected;
  for (size_t k = 0; k < keys.size(); ++k) {
    expected.push_back(L"StoreGetValue B " + keys[k]);
    if (k == 1) continue;  // the source cannot read its second value
    this->store.values[keys[k]] = L"v" + std::to_wstring(k);
    expected.push_back(L"StoreSetValue A " + keys[k] + L"=v" + std::to_wstring(k));
  }
  this->store.calls.clear();
  to = from;
  EXPECT_THAT(this->store.Trace(), ElementsAreArray(expected));
  EXPECT_FALSE(to.IsOpen());
  EXPECT_THAT(this->ReadTrace(to), ElementsAreArray(TestFixture::Reads(L"A")));
}

TYPED_TEST(SectionTest, DestructionClosesAnOpenSectionOnceAndNeverSaves) {
  { typename TestFixture::S never(L"A"); }
  EXPECT_THAT(this->store.calls, IsEmpty());
  {
    typename TestFixture::S closed(L"A");
    ASSERT_EQ(closed.Open(), 0);
    ASSERT_EQ(closed.Close(), 0);
    typename TestFixture::S open(L"B", 6);
    ASSERT_EQ(open.Open(), 0);
  }
  EXPECT_THAT(this->store.Trace(),
              ElementsAreArray({L"StoreOpen A", L"StoreClose A", L"StoreOpen B", L"StoreClose B"}));
  EXPECT_EQ(this->store.calls.back().comInitFlag, 6);
}

}  // namespace
