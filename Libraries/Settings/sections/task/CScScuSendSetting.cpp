// Key table of the send side of the ScScu task.
#include "CScScuSendSetting.h"

namespace DicomAccessLibraryCpp {
namespace {
using S = CScScuSendSetting;
constexpr ValueField kValues[] = {
    Value<&S::TaskCount>(L"/ScScuPut/TaskCount"),
    Value<&S::RequestFolder>(L"/ScScuPut/Folder/RequestFolder"),
    Value<&S::WorkFolder>(L"/ScScuPut/Folder/WorkFolder"),
    Value<&S::ResFolder>(L"/ScScuPut/Folder/ResFolder"),
    Value<&S::DailyFolder>(L"/ScScuPut/Folder/DailyFolder"),
};
constexpr ListField kLists[] = {
    List<&S::Syntax>(L"/ScScuPut/Syntax"),
};
}  // namespace

DICOMSETTINGS_DEFINE_SECTION(CScScuSendSetting, "scscusend", kValues, kLists)

int CScScuSendSetting::GetCountSyntax() {
  return CountSectionList(GetFilePath(), kLists[0]);
}

}  // namespace DicomAccessLibraryCpp
