// Key table of the receive side of the DetachScu task.
#include "CDetachScuRecvSetting.h"

namespace DicomAccessLibraryCpp {
namespace {
using S = CDetachScuRecvSetting;
constexpr ValueField kValues[] = {
    Value<&S::TaskCount>(L"/DetachScuGet/TaskCount"),
    Value<&S::RequestFolder>(L"/DetachScuGet/Folder/RequestFolder"),
    Value<&S::WorkFolder>(L"/DetachScuGet/Folder/WorkFolder"),
    Value<&S::ResFolder>(L"/DetachScuGet/Folder/ResFolder"),
    Value<&S::DailyFolder>(L"/DetachScuGet/Folder/DailyFolder"),
    Value<&S::OrderFolder>(L"/DetachScuGet/Folder/OrderFolder"),
    Value<&S::SystemTagConvPath>(L"/DetachScuGet/ConvertPath/SystemTagConvPath"),
};
constexpr ListField kLists[] = {
    List<&S::Syntax>(L"/DetachScuGet/Syntax"),
};
}  // namespace

DICOMSETTINGS_DEFINE_SECTION(CDetachScuRecvSetting, "detachscurecv", kValues, kLists)

int CDetachScuRecvSetting::GetCountSyntax() {
  return CountSectionList(GetFilePath(), kLists[0]);
}

}  // namespace DicomAccessLibraryCpp
