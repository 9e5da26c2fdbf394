// Key table of the Print task's settings.
#include "CPrintScuSetting.h"

namespace DicomAccessLibraryCpp {
namespace {
using S = CPrintScuSetting;
constexpr ValueField kValues[] = {
    Value<&S::TaskCount>(L"/PrintScu/TaskCount"),
    Value<&S::RequestFolder>(L"/PrintScu/Folder/RequestFolder"),
    Value<&S::WorkFolder>(L"/PrintScu/Folder/WorkFolder"),
    Value<&S::ResFolder>(L"/PrintScu/Folder/ResFolder"),
    Value<&S::DailyFolder>(L"/PrintScu/Folder/DailyFolder"),
    Value<&S::SystemTagConvPath>(L"/PrintScu/ConvertPath/SystemTagConvPath"),
    Value<&S::UserTagConvPath>(L"/PrintScu/ConvertPath/UserTagConvPath"),
    Value<&S::EncodeTagConvPath>(L"/PrintScu/ConvertPath/EncodeTagConvPath"),
};
constexpr ListField kLists[] = {
    List<&S::Syntax>(L"/PrintScu/Syntax"),
};
}  // namespace

DICOMSETTINGS_DEFINE_SECTION(CPrintScuSetting, "print", kValues, kLists)

int CPrintScuSetting::GetCountSyntax() {
  return CountSectionList(GetFilePath(), kLists[0]);
}

}  // namespace DicomAccessLibraryCpp
