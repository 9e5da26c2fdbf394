// Section assignment store call by store call, on the recording store, for every
// section class: for each value in field order (the section's values, then its
// elements in index order, each element's values before its nested elements) one
// read from the source's file and, when it succeeds, one write of that text under
// the same key into the target's file. Nothing else reaches the store.
#include <gmock/gmock.h>

#include "RecordingStore.h"
#include "SchemaLeaves.h"

using namespace DicomAccessLibraryCpp;

TEST(SectionCopyOrder, OneReadAndOneWritePerValueInFieldOrder) {
  int count = 0;
  const SectionSchema* const* all = AllSections(&count);
  for (const SectionSchema* schema : std::vector<const SectionSchema*>(all, all + count)) {
    CAccessLibraryBaseCpp* target = schema->create(L"A");
    CAccessLibraryBaseCpp* source = schema->create(L"B");
    RecordingStore& store = Recorder();
    store.Reset();
    // Every value but the second can be read from the source; that one is not written.
    const std::vector<Leaf> values = SectionLeaves(*source, *schema);
    std::vector<std::wstring> expected;
    for (size_t i = 0; i < values.size(); ++i) {
      const std::wstring text = L"t" + std::to_wstring(i);
      expected.push_back(L"StoreGetValue B " + values[i].key);
      if (i == 1) continue;
      store.values[values[i].key] = text;
      expected.push_back(L"StoreSetValue A " + values[i].key + L"=" + text);
    }
    schema->assign(*target, *source);
    EXPECT_THAT(store.Trace(), ::testing::ElementsAreArray(expected)) << schema->className;
    schema->destroy(target);
    schema->destroy(source);
  }
}
