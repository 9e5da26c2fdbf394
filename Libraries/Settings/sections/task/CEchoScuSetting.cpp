// Key table of the Echo task section.
#include "CEchoScuSetting.h"

namespace DicomAccessLibraryCpp {
namespace {
using S = CEchoScuSetting;
constexpr ValueField kValues[] = {
    Value<&S::TaskCount>(L"/EchoScu/TaskCount"),
    Value<&S::RequestFolder>(L"/EchoScu/Folder/RequestFolder"),
    Value<&S::WorkFolder>(L"/EchoScu/Folder/WorkFolder"),
    Value<&S::ResFolder>(L"/EchoScu/Folder/ResFolder"),
    Value<&S::DailyFolder>(L"/EchoScu/Folder/DailyFolder"),
    Value<&S::ClientAeTitle>(L"/EchoScu/ClientAeTitle"),
};
constexpr ListField kLists[] = {
    List<&S::Syntax>(L"/EchoScu/Syntax"),
};
}  // namespace

DICOMSETTINGS_DEFINE_SECTION(CEchoScuSetting, "echo", kValues, kLists)

int CEchoScuSetting::GetCountSyntax() {
  return CountSectionList(GetFilePath(), kLists[0]);
}

}  // namespace DicomAccessLibraryCpp
