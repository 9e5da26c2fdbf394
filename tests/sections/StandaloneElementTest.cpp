// Elements pointed by hand at a node with Initialize, outside any section: they
// address exactly that node's keys, nested elements included, beyond the
// section's arrays too, and the same keys as the section's element at that index.
#include "LeafValues.h"
#include "SettingsFile.h"

using namespace DicomAccessLibraryCpp;

namespace {

// Points a new E at node `index` of listKey in a file that an S holds open,
// writes a value through each of its values, and checks them back through the
// section's element at that index (when the array reaches it) and in the file.
template <class S, class E>
void ExpectElementAt(const wchar_t* listKey, int index, E* (*twin)(S&)) {
  TempDir dir;
  const SettingsFile file(dir, "settings.xml");
  S section(file.path.c_str());
  ASSERT_EQ(section.Open(), 0);
  E element;
  ASSERT_EQ(element.Initialize(file.path.c_str(), listKey, index), 0);
  const std::wstring nodeKey = listKey + (L"[" + std::to_wstring(index) + L"]");
  KeyTexts written = WriteDistinct(ElementLeaves(element, E::Schema(), nodeKey), file.path);
  if (twin != nullptr) {
    for (const Leaf& leaf : ElementLeaves(*twin(section), E::Schema(), nodeKey)) {
      EXPECT_EQ(ReadTyped(leaf), written[CanonicalKey(leaf.key)]) << leaf.key;
    }
  }
  ASSERT_EQ(section.Save(), 0);
  ExpectSavedLeaves(file.file, written);
}

TEST(StandaloneElement, AddressesItsNodeAsTheSectionsElementDoes) {
  ExpectElementAt<CSpecificCharConv, SettingGroup::CSettingGroup>(
      L"/SpecificCharConv/SettingGroup", 3,
      [](CSpecificCharConv& s) { return &s.SettingGroup[3]; });
  ExpectElementAt<CMwmScuInfoSetting, MwmscuInfo::CMwmscuInfo>(
      L"/MwmscuInfoSetting/MwmscuInfo", 7, [](CMwmScuInfoSetting& s) { return &s.MwmscuInfo[7]; });
}

TEST(StandaloneElement, ReachesNodesBeyondTheSectionsArrays) {
  ExpectElementAt<CDicomClientSetting, DicomClient::CDicomClient>(
      L"/DicomClientSetting/DicomClient", 60, nullptr);
  ExpectElementAt<CStorageScuSetting, StorageScu::CSyntax>(L"/StorageScu/Syntax", 5, nullptr);
  ExpectElementAt<CEchoScuSetting, CTransferSyntax>(L"/EchoScu/Syntax[0]/TransferSyntax", 1,
                                                    nullptr);
}

}  // namespace
