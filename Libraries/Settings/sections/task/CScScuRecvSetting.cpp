// Key table of the receive side of the ScScu task.
#include "CScScuRecvSetting.h"

namespace DicomAccessLibraryCpp {
namespace {
using S = CScScuRecvSetting;
constexpr ValueField kValues[] = {
    Value<&S::TaskCount>(L"/ScScuGet/TaskCount"),
    Value<&S::RequestFolder>(L"/ScScuGet/Folder/RequestFolder"),
    Value<&S::WorkFolder>(L"/ScScuGet/Folder/WorkFolder"),
    Value<&S::ResFolder>(L"/ScScuGet/Folder/ResFolder"),
    Value<&S::DailyFolder>(L"/ScScuGet/Folder/DailyFolder"),
};
constexpr ListField kLists[] = {
    List<&S::Syntax>(L"/ScScuGet/Syntax"),
};
}  // namespace

DICOMSETTINGS_DEFINE_SECTION(CScScuRecvSetting, "scscurecv", kValues, kLists)

int CScScuRecvSetting::GetCountSyntax() {
  return CountSectionList(GetFilePath(), kLists[0]);
}

}  // namespace DicomAccessLibraryCpp
