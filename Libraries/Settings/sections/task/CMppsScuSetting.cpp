// Key table of the procedure-step (MPPS) client task's settings.
#include "CMppsScuSetting.h"

namespace DicomAccessLibraryCpp {
namespace {
using S = CMppsScuSetting;
constexpr ValueField kValues[] = {
    Value<&S::TaskCount>(L"/MppsScu/TaskCount"),
    Value<&S::RequestFolder>(L"/MppsScu/Folder/RequestFolder"),
    Value<&S::WorkFolder>(L"/MppsScu/Folder/WorkFolder"),
    Value<&S::ResFolder>(L"/MppsScu/Folder/ResFolder"),
    Value<&S::DailyFolder>(L"/MppsScu/Folder/DailyFolder"),
    Value<&S::SystemTagConvPath>(L"/MppsScu/ConvertPath/SystemTagConvPath"),
    Value<&S::UserTagConvPath>(L"/MppsScu/ConvertPath/UserTagConvPath"),
    Value<&S::EncodeTagConvPath>(L"/MppsScu/ConvertPath/EncodeTagConvPath"),
    Value<&S::RisCodeSelect>(L"/MppsScu/ConvertPath/RisCodeSelect"),
};
constexpr ListField kLists[] = {
    List<&S::Syntax>(L"/MppsScu/Syntax"),
};
}  // namespace

DICOMSETTINGS_DEFINE_SECTION(CMppsScuSetting, "mppsscu", kValues, kLists)

int CMppsScuSetting::GetCountSyntax() {
  return CountSectionList(GetFilePath(), kLists[0]);
}

}  // namespace DicomAccessLibraryCpp
