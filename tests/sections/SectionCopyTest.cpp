// Copying sections on real files, for every section class: assignment copies the
// values of the source's file into the target's own file; copy construction
// gives an object on the same keys of the same file.
#include "ExpectedKeys.h"
#include "KeyTreeStore.h"
#include "LeafValues.h"
#include "SavedFile.h"
#include "SectionTypes.h"

using namespace expected;

template <class S>
class SectionCopy : public ::testing::Test {};
TYPED_TEST_SUITE(SectionCopy, SectionClasses);

// a = b brings every value of B into A and changes nothing in B; a value B lacks
// stays in A as it was; a keeps its own file, so a.Save() saves A.
TYPED_TEST(SectionCopy, AssignmentCopiesEveryValueIntoTheTargetsOwnFile) {
  TempDir dir;
  const SettingsFile fileA(dir, "a.xml"), fileB(dir, "b.xml");
  KeyTexts inA, inB;
  {
    TypeParam a(fileA.path.c_str()), b(fileB.path.c_str());
    ASSERT_EQ(a.Open(), 0);
    ASSERT_EQ(b.Open(), 0);
    std::vector<Leaf> values = SectionLeaves(b);
    const std::wstring lacking = values.back().key;
    values.pop_back();
    inB = WriteDistinct(values, fileB.path);
    ASSERT_EQ(StoreSetValue(fileA.path.c_str(), lacking.c_str(), L"kept"), 0);
    inA = inB;
    inA[CanonicalKey(lacking)] = L"kept";

    a = b;
    ASSERT_EQ(a.Save(), 0);
    ASSERT_EQ(b.Save(), 0);
    EXPECT_EQ(a.Close(), 0);
    EXPECT_EQ(b.Close(), 0);
  }
  ExpectSavedLeaves(fileA.file, inA);
  ExpectSavedLeaves(fileB.file, inB);
}

// What is written through a copy reads back through the original, and ending the
// copy leaves the original's open (and its unsaved values) in place.
TYPED_TEST(SectionCopy, CopyAddressesTheSameKeysInTheSameFile) {
  TempDir dir;
  const SettingsFile file(dir, "settings.xml");
  TypeParam original(file.path.c_str());
  ASSERT_EQ(original.Open(), 0);
  KeyTexts written;
  {
    TypeParam copy(original);
    written = WriteDistinct(SectionLeaves(copy), file.path);
  }
  for (const Leaf& leaf : SectionLeaves(original)) {
    EXPECT_EQ(ReadTyped(leaf), written[CanonicalKey(leaf.key)]) << leaf.key;
  }
  ASSERT_EQ(original.Save(), 0);
  ExpectSavedLeaves(file.file, written);
}
