// Every section class against keys.txt, the keys written out by hand (misspellings
// included) with their kinds and list capacities: the library's tables must say
// the same, and on a real file each value must land under exactly its own key,
// and assignment must copy every value into the target's own file.
#include <gtest/gtest.h>

#include <memory>

#include "KeyTreeStore.h"
#include "LeafValues.h"
#include "SettingsFile.h"

using namespace DicomAccessLibraryCpp;

namespace {

std::vector<const SectionSchema*> Sections() {
  int count = 0;
  const SectionSchema* const* all = AllSections(&count);
  return {all, all + count};
}

using SectionPtr = std::unique_ptr<CAccessLibraryBaseCpp, void (*)(CAccessLibraryBaseCpp*)>;

SectionPtr Create(const SectionSchema& schema, const std::wstring& path) {
  return SectionPtr(schema.create(path.c_str()), schema.destroy);
}

TEST(KeyTable, LibraryTablesSayWhatTheKeyFileSays) {
  std::string described;
  for (const SectionSchema* schema : Sections()) {
    described += DescribeSection(*schema);
    EXPECT_EQ(FindSection(schema->area), schema) << schema->area;
  }
  EXPECT_EQ(described, ReadTextFile(SECTION_KEYS_FILE));
  EXPECT_EQ(FindSection("no such area"), nullptr);
}

TEST(KeyTable, EveryValueLandsUnderItsOwnKeyAndNowhereElse) {
  for (const SectionSchema* schema : Sections()) {
    SCOPED_TRACE(schema->className);
    TempDir dir;
    const SettingsFile file(dir, "settings.xml");
    SectionPtr section = Create(*schema, file.path);
    ASSERT_EQ(section->Open(), 0);
    const KeyTexts written = WriteDistinct(SectionLeaves(*section, *schema), file.path);
    ASSERT_EQ(section->Save(), 0);
    ExpectSavedLeaves(file.file, written);
  }
}

// a = b brings every value of B into A and changes nothing in B; a value B lacks
// stays in A as it was; a keeps its own file, so a.Save() saves A.
TEST(KeyTable, AssignmentCopiesEveryValueIntoTheTargetsOwnFile) {
  for (const SectionSchema* schema : Sections()) {
    SCOPED_TRACE(schema->className);
    TempDir dir;
    const SettingsFile fileA(dir, "a.xml"), fileB(dir, "b.xml");
    SectionPtr a = Create(*schema, fileA.path), b = Create(*schema, fileB.path);
    ASSERT_EQ(a->Open(), 0);
    ASSERT_EQ(b->Open(), 0);
    std::vector<Leaf> values = SectionLeaves(*b, *schema);
    const std::wstring lacking = values.back().key;
    values.pop_back();
    const KeyTexts inB = WriteDistinct(values, fileB.path);
    ASSERT_EQ(StoreSetValue(fileA.path.c_str(), lacking.c_str(), L"kept"), 0);
    KeyTexts inA = inB;
    inA[CanonicalKey(lacking)] = L"kept";
    schema->assign(*a, *b);
    ASSERT_EQ(a->Save(), 0);
    ASSERT_EQ(b->Save(), 0);
    ExpectSavedLeaves(fileA.file, inA);
    ExpectSavedLeaves(fileB.file, inB);
  }
}

}  // namespace
