// CDetachScuSendSetting: the send side of the DetachScu task, under "/DetachScuPut".
// Section semantics and thread safety: SectionFramework.h.
#ifndef DICOMSETTINGS_CDETACHSCUSENDSETTING_H
#define DICOMSETTINGS_CDETACHSCUSENDSETTING_H

#include "CSyntax.h"
#include "SectionFramework.h"

namespace DicomAccessLibraryCpp {

class DICOMSETTINGS_API CDetachScuSendSetting : public CAccessLibraryBaseCpp {
  DICOMSETTINGS_SECTION(CDetachScuSendSetting)

  IntProxy TaskCount;
  StringProxy RequestFolder;
  StringProxy WorkFolder;
  StringProxy ResFolder;
  StringProxy DailyFolder;
  StringProxy SystemTagConvPath;
  StringProxy UserTagConvPath;
  StringProxy EncodeTagConvPath;
  DetachScuPut::CSyntax Syntax[2];

  int GetCountSyntax();
};

}  // namespace DicomAccessLibraryCpp

#endif
