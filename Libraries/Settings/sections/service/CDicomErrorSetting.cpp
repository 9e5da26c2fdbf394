// Key tables of the error list and its entries.
#include "CDicomErrorSetting.h"

namespace DicomAccessLibraryCpp {
namespace {
using E = DicomError::CDicomError;
constexpr ValueField kErrorValues[] = {
    Value<&E::InsideError>(L"/InsideError"),
    Value<&E::OutsideError>(L"/OutsideError"),
    Value<&E::ErrorInfo>(L"/ErrorInfo"),
};
constexpr ListField kLists[] = {
    List<&CDicomErrorSetting::DicomError>(L"/DicomErrorSetting/DicomError"),
};
}  // namespace

DICOMSETTINGS_DEFINE_ELEMENT(DicomError::CDicomError, kErrorValues, kNone)
DICOMSETTINGS_DEFINE_SECTION(CDicomErrorSetting, "errors", kNone, kLists)

int CDicomErrorSetting::GetCountDicomError() {
  return CountSectionList(GetFilePath(), kLists[0]);
}

}  // namespace DicomAccessLibraryCpp
