// CDicomErrorSetting: the error list shared by the services, up to 300 entries
// under "/DicomErrorSetting/DicomError", each an inside error, an outside error
// and its information. Section semantics and thread safety: SectionFramework.h.
#ifndef DICOMSETTINGS_CDICOMERRORSETTING_H
#define DICOMSETTINGS_CDICOMERRORSETTING_H

#include "SectionFramework.h"

namespace DicomAccessLibraryCpp {

class CDicomErrorSetting;

namespace DicomError {
// One entry of the error list: node "/DicomErrorSetting/DicomError[i]".
class DICOMSETTINGS_API CDicomError : public ListElement<CDicomError> {
 public:
  IntProxy InsideError;
  IntProxy OutsideError;
  StringProxy ErrorInfo;

  static const ElementSchema& Schema();

 private:
  friend class ::DicomAccessLibraryCpp::CDicomErrorSetting;
};
}  // namespace DicomError

class DICOMSETTINGS_API CDicomErrorSetting : public CAccessLibraryBaseCpp {
  DICOMSETTINGS_SECTION(CDicomErrorSetting)

  DicomError::CDicomError DicomError[300];

  int GetCountDicomError();
};

}  // namespace DicomAccessLibraryCpp

#endif
