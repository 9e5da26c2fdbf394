// Key tables of the worklist tag item list and its entries.
#include "CMwmScuInfoSetting.h"

namespace DicomAccessLibraryCpp {
namespace {
constexpr ValueField kInfoValues[] = {
    Value<&MwmscuInfo::CMwmscuInfo::TagItem>(L"/TagItem"),
};
constexpr ListField kLists[] = {
    List<&CMwmScuInfoSetting::MwmscuInfo>(L"/MwmscuInfoSetting/MwmscuInfo"),
};
}  // namespace

DICOMSETTINGS_DEFINE_ELEMENT(MwmscuInfo::CMwmscuInfo, kInfoValues, kNone)
DICOMSETTINGS_DEFINE_SECTION(CMwmScuInfoSetting, "mwmscuinfo", kNone, kLists)

int CMwmScuInfoSetting::GetCountMwmscuInfo() {
  return CountSectionList(GetFilePath(), kLists[0]);
}

}  // namespace DicomAccessLibraryCpp
