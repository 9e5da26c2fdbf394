// Key table of the modality worklist client task.
#include "CMwmScuSetting.h"

namespace DicomAccessLibraryCpp {
namespace {
using S = CMwmScuSetting;
constexpr ValueField kValues[] = {
    Value<&S::TaskCount>(L"/Mwmscu/TaskCount"),
    Value<&S::RequestFolder>(L"/Mwmscu/Folder/RequestFolder"),
    Value<&S::WorkFolder>(L"/Mwmscu/Folder/WorkFolder"),
    Value<&S::ResFolder>(L"/Mwmscu/Folder/ResFolder"),
    Value<&S::OrderFolder>(L"/Mwmscu/Folder/OrderFolder"),
    Value<&S::DailyFolder>(L"/Mwmscu/Folder/DailyFolder"),
    Value<&S::CsvFile>(L"/Mwmscu/CsvFile"),
    Value<&S::Port>(L"/Mwmscu/Port"),
    Value<&S::Timeout>(L"/Mwmscu/Timeout"),
    Value<&S::UniqueKeyType>(L"/Mwmscu/UniqueKeyType"),
    Value<&S::UniqueKeyData>(L"/Mwmscu/UniqueKeyData"),
    Value<&S::MaxReceiveOrderNum>(L"/Mwmscu/MaxReceiveOrderNum"),
};
constexpr ListField kLists[] = {
    List<&S::Syntax>(L"/Mwmscu/Syntax"),
};
}  // namespace

DICOMSETTINGS_DEFINE_SECTION(CMwmScuSetting, "mwmscu", kValues, kLists)

int CMwmScuSetting::GetCountSyntax() {
  return CountSectionList(GetFilePath(), kLists[0]);
}

}  // namespace DicomAccessLibraryCpp
