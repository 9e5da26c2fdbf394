// Every section class on a real file: each value lands under exactly the key the
// expected table gives and nothing else is written; and the library's own table
// of the class (the order its values are bound and assigned in) matches it.
#include <algorithm>
#include <set>

#include "ExpectedKeys.h"
#include "LeafValues.h"
#include "SavedFile.h"
#include "SectionTypes.h"

using namespace DicomAccessLibraryCpp;
using namespace expected;

namespace {

// Compares the library's rows with the expected rows of one owner, in order,
// reaching the members through both from that owner.
void ExpectSameRows(void* owner, const Table& table, const ValueField* values, int valueCount,
                    const ListField* lists, int listCount) {
  ASSERT_EQ(static_cast<size_t>(valueCount), table.values.size()) << table.name;
  for (int v = 0; v < valueCount; ++v) {
    const ValueRow& row = table.values[v];
    EXPECT_STREQ(values[v].key, row.key) << table.name << " value " << v;
    EXPECT_STREQ(ValueKindName(row.memberKind), ValueKindName(row.kind)) << row.key;
    EXPECT_STREQ(ValueKindName(values[v].kind), ValueKindName(row.kind)) << row.key;
    EXPECT_EQ(&values[v].proxy(owner), &row.proxy(owner)) << row.key;
  }
  ASSERT_EQ(static_cast<size_t>(listCount), table.lists.size()) << table.name;
  for (int l = 0; l < listCount; ++l) {
    const ListRow& row = table.lists[l];
    EXPECT_STREQ(lists[l].key, row.key) << table.name << " list " << l;
    ASSERT_EQ(row.memberLength, row.capacity) << row.key;
    ASSERT_EQ(lists[l].capacity, row.capacity) << row.key;
    for (int i = 0; i < row.capacity; ++i) {
      EXPECT_EQ(&lists[l].at(owner, i), &row.at(owner, i)) << row.key << "[" << i << "]";
    }
    const ElementSchema& element = lists[l].element();
    ExpectSameRows(&row.at(owner, 0), *row.element, element.values, element.valueCount,
                   element.lists, element.listCount);
  }
}

}  // namespace

template <class S>
class SectionKeyTable : public ::testing::Test {};
TYPED_TEST_SUITE(SectionKeyTable, SectionClasses);

TYPED_TEST(SectionKeyTable, EveryValueLandsUnderItsOwnKeyAndNowhereElse) {
  TempDir dir;
  const SettingsFile file(dir, "settings.xml");
  KeyTexts written;
  {
    TypeParam section(file.path.c_str());
    ASSERT_EQ(section.Open(), 0);
    written = WriteDistinct(SectionLeaves(section), file.path);
    ASSERT_EQ(section.Save(), 0);
  }
  ExpectSavedLeaves(file.file, written);
}

TYPED_TEST(SectionKeyTable, LibraryTableMatchesInOrderKindAndCapacity) {
  TypeParam section(L"/nonexistent/settings.xml");
  const SectionSchema& schema = TypeParam::Schema();
  const Table& table = ExpectedTable<TypeParam>();
  EXPECT_STREQ(schema.className, table.name);
  ExpectSameRows(static_cast<CAccessLibraryBaseCpp*>(&section), table, schema.values,
                 schema.valueCount, schema.lists, schema.listCount);
  int count = 0;
  const SectionSchema* const* all = AllSections(&count);
  EXPECT_EQ(std::count(all, all + count, &schema), 1);
  EXPECT_EQ(FindSection(schema.area), &schema);
}

TEST(SectionEnumeration, ListsTheSixteenSectionClassesOnce) {
  int count = 0;
  const SectionSchema* const* all = AllSections(&count);
  std::multiset<std::string> names;
  for (int i = 0; i < count; ++i) names.insert(all[i]->className);
  EXPECT_EQ(
      names,
      (std::multiset<std::string>{
          "CEchoScuSetting", "CStorageScuSetting", "CPrintScuSetting", "CPrintNeventSetting",
          "CMediaScuSetting", "CScScuRecvSetting", "CScScuSendSetting", "CDetachScuRecvSetting",
          "CDetachScuSendSetting", "CMwmScuSetting", "CMwmScuInfoSetting", "CMppsScuSetting",
          "CDicomSetupSetting", "CDicomClientSetting", "CDicomErrorSetting", "CSpecificCharConv"}));
  EXPECT_EQ(FindSection("no such area"), nullptr);
}
