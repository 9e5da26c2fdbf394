// Key table of the Storage task's settings.
#include "CStorageScuSetting.h"

namespace DicomAccessLibraryCpp {
namespace {
using S = CStorageScuSetting;
constexpr ValueField kValues[] = {
    Value<&S::TaskCount>(L"/StorageScu/TaskCount"),
    Value<&S::RequestFolder>(L"/StorageScu/Folder/RequestFolder"),
    Value<&S::WorkFolder>(L"/StorageScu/Folder/WorkFolder"),
    Value<&S::ResFolder>(L"/StorageScu/Folder/ResFolder"),
    Value<&S::DailyFolder>(L"/StorageScu/Folder/DailyFolder"),
    Value<&S::SystemTagConvPath>(L"/StorageScu/ConvertPath/SystemTagConvPath"),
    Value<&S::UserTagConvPath>(L"/StorageScu/ConvertPath/UserTagConvPath"),
    Value<&S::EncodeTagConvPath>(L"/StorageScu/ConvertPath/EncodeTagConvPath"),
};
constexpr ListField kLists[] = {
    List<&S::Syntax>(L"/StorageScu/Syntax"),
};
}  // namespace

DICOMSETTINGS_DEFINE_SECTION(CStorageScuSetting, "storage", kValues, kLists)

int CStorageScuSetting::GetCountSyntax() {
  return CountSectionList(GetFilePath(), kLists[0]);
}

}  // namespace DicomAccessLibraryCpp
