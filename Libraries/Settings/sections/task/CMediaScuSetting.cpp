// Key table of the Media task's settings.
#include "CMediaScuSetting.h"

namespace DicomAccessLibraryCpp {
namespace {
using S = CMediaScuSetting;
constexpr ValueField kValues[] = {
    Value<&S::TaskCount>(L"/MediaScu/TaskCount"),
    Value<&S::RequestFolder>(L"/MediaScu/Folder/RequestFolder"),
    Value<&S::WorkFolder>(L"/MediaScu/Folder/WorkFolder"),
    Value<&S::ResFolder>(L"/MediaScu/Folder/ResFolder"),
    Value<&S::ImageFolder>(L"/MediaScu/Folder/ImageFolder"),
    Value<&S::DailyFolder>(L"/MediaScu/Folder/DailyFolder"),
};
}  // namespace

DICOMSETTINGS_DEFINE_SECTION(CMediaScuSetting, "media", kValues, kNone)

}  // namespace DicomAccessLibraryCpp
