// Key table of the Print N-EVENT task's settings.
#include "CPrintNeventSetting.h"

namespace DicomAccessLibraryCpp {
namespace {
using S = CPrintNeventSetting;
constexpr ValueField kValues[] = {
    Value<&S::TaskCount>(L"/Printnevent/TaskCount"),
    Value<&S::RequestFolder>(L"/Printnevent/Folder/RequestFolder"),
    Value<&S::WorkFolder>(L"/Printnevent/Folder/WorkFolder"),
    Value<&S::ResFolder>(L"/Printnevent/Folder/ResFolder"),
    Value<&S::DailyFolder>(L"/Printnevent/Folder/DailyFolder"),
};
constexpr ListField kLists[] = {
    List<&S::Syntax>(L"/Printnevent/Syntax"),
};
}  // namespace

DICOMSETTINGS_DEFINE_SECTION(CPrintNeventSetting, "printnevent", kValues, kLists)

int CPrintNeventSetting::GetCountSyntax() {
  return CountSectionList(GetFilePath(), kLists[0]);
}

}  // namespace DicomAccessLibraryCpp
