// Key table of the send side of the DetachScu task.
#include "CDetachScuSendSetting.h"

namespace DicomAccessLibraryCpp {
namespace {
using S = CDetachScuSendSetting;
constexpr ValueField kValues[] = {
    Value<&S::TaskCount>(L"/DetachScuPut/TaskCount"),
    Value<&S::RequestFolder>(L"/DetachScuPut/Folder/RequestFolder"),
    Value<&S::WorkFolder>(L"/DetachScuPut/Folder/WorkFolder"),
    Value<&S::ResFolder>(L"/DetachScuPut/Folder/ResFolder"),
    Value<&S::DailyFolder>(L"/DetachScuPut/Folder/DailyFolder"),
    Value<&S::SystemTagConvPath>(L"/DetachScuPut/ConvertPath/SystemTagConvPath"),
    Value<&S::UserTagConvPath>(L"/DetachScuPut/ConvertPath/UserTagConvPath"),
    Value<&S::EncodeTagConvPath>(L"/DetachScuPut/ConvertPath/EncodeTagConvPath"),
};
constexpr ListField kLists[] = {
    List<&S::Syntax>(L"/DetachScuPut/Syntax"),
};
}  // namespace

DICOMSETTINGS_DEFINE_SECTION(CDetachScuSendSetting, "detachscusend", kValues, kLists)

int CDetachScuSendSetting::GetCountSyntax() {
  return CountSectionList(GetFilePath(), kLists[0]);
}

}  // namespace DicomAccessLibraryCpp
