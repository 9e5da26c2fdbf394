// Section assignment store call by store call, on the recording store: for each
// value in field order (the section's values, then its elements in index order,
// each element's values before its nested elements: for the conversion groups,
// group by group its six values, send components 0..2, receive components 0..2)
// one read from the source's file and, when it succeeds, one write of that text
// under the same key into the target's file. Nothing else reaches the store.
#include <algorithm>

#include "ExpectedKeys.h"
#include "RecordingStore.h"
#include "SectionTypes.h"

using namespace expected;

template <class S>
class SectionCopyOrder : public ::testing::Test {};
TYPED_TEST_SUITE(SectionCopyOrder, SectionClasses);

TYPED_TEST(SectionCopyOrder, OneReadAndOneWritePerValueInFieldOrder) {
  TypeParam target(L"A"), source(L"B");
  RecordingStore& store = Recorder();
  store.Reset();
  // Every value but the second can be read from the source; that one is not written.
  const std::vector<Leaf> values = SectionLeaves(source);
  std::vector<std::wstring> expected;
  for (size_t i = 0; i < values.size(); ++i) {
    const std::wstring text = L"t" + std::to_wstring(i);
    expected.push_back(L"StoreGetValue B " + values[i].key);
    if (i == 1) continue;
    store.values[values[i].key] = text;
    expected.push_back(L"StoreSetValue A " + values[i].key + L"=" + text);
  }

  target = source;

  const std::vector<std::wstring> trace = store.Trace();
  EXPECT_EQ(trace.size(), expected.size());
  const size_t common = std::min(trace.size(), expected.size());
  const auto differ = std::mismatch(trace.begin(), trace.begin() + common, expected.begin());
  if (differ.first != trace.begin() + common) {
    ADD_FAILURE() << "call " << (differ.first - trace.begin()) << " is " << *differ.first
                  << ", expected " << *differ.second;
  }
}
