// CDetachScuRecvSetting: the receive side of the DetachScu task, under "/DetachScuGet".
// Section semantics and thread safety: SectionFramework.h.
#ifndef DICOMSETTINGS_CDETACHSCURECVSETTING_H
#define DICOMSETTINGS_CDETACHSCURECVSETTING_H

#include "CSyntax.h"
#include "SectionFramework.h"

namespace DicomAccessLibraryCpp {

class DICOMSETTINGS_API CDetachScuRecvSetting : public CAccessLibraryBaseCpp {
  DICOMSETTINGS_SECTION(CDetachScuRecvSetting)

  IntProxy TaskCount;
  StringProxy RequestFolder;
  StringProxy WorkFolder;
  StringProxy ResFolder;
  StringProxy DailyFolder;
  StringProxy OrderFolder;
  StringProxy SystemTagConvPath;
  DetachScuGet::CSyntax Syntax[2];

  int GetCountSyntax();
};

}  // namespace DicomAccessLibraryCpp

#endif
