// Key tables of the character set conversion groups and their component entries.
#include "CSpecificCharConv.h"

namespace DicomAccessLibraryCpp {
namespace {
template <class C>
constexpr ValueField kComponentValues[] = {
    Value<&C::CopyFrom>(L"/CopyFrom"),
    Value<&C::ConvertCharType>(L"/ConvertCharType"),
    Value<&C::OverWriteFlag>(L"/OverWriteFlag"),
};
using G = SettingGroup::CSettingGroup;
constexpr ValueField kGroupValues[] = {
    Value<&G::GroupRefName>(L"/GroupRefName"),
    Value<&G::GroupName>(L"/GroupName"),
    Value<&G::SpecificCharacterSet>(L"/SpecificCharacterSet"),
    Value<&G::HalfToWideKana>(L"/HalfToWideKana"),
    Value<&G::SendConvertTarget>(L"/SendConvertTarget"),
    Value<&G::ReceiveConvertTarget>(L"/ReceiveConvertTarget"),
};
constexpr ListField kGroupLists[] = {
    List<&G::SendPNConponent>(L"/SendPNConponent"),
    List<&G::ReceivePNConponent>(L"/ReceivePNConponent"),
};
constexpr ListField kLists[] = {
    List<&CSpecificCharConv::SettingGroup>(L"/SpecificCharConv/SettingGroup"),
};
}  // namespace

DICOMSETTINGS_DEFINE_ELEMENT(SendPNConponent::CSendPNConponent,
                             kComponentValues<PNConponentEntry<SendPNConponent::CSendPNConponent>>,
                             kNone)
DICOMSETTINGS_DEFINE_ELEMENT(
    ReceivePNConponent::CReceivePNConponent,
    kComponentValues<PNConponentEntry<ReceivePNConponent::CReceivePNConponent>>, kNone)
DICOMSETTINGS_DEFINE_ELEMENT(SettingGroup::CSettingGroup, kGroupValues, kGroupLists)
DICOMSETTINGS_DEFINE_SECTION(CSpecificCharConv, "charconv", kNone, kLists)

int CSpecificCharConv::GetSettingGroup() {
  return CountSectionList(GetFilePath(), kLists[0]);
}

}  // namespace DicomAccessLibraryCpp
