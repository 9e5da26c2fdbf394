// CScScuRecvSetting: the receive side of the ScScu task, under "/ScScuGet".
// Section semantics and thread safety: SectionFramework.h.
#ifndef DICOMSETTINGS_CSCSCURECVSETTING_H
#define DICOMSETTINGS_CSCSCURECVSETTING_H

#include "CSyntax.h"
#include "SectionFramework.h"

namespace DicomAccessLibraryCpp {

class DICOMSETTINGS_API CScScuRecvSetting : public CAccessLibraryBaseCpp {
  DICOMSETTINGS_SECTION(CScScuRecvSetting)

  IntProxy TaskCount;
  StringProxy RequestFolder;
  StringProxy WorkFolder;
  StringProxy ResFolder;
  StringProxy DailyFolder;
  ScScuGet::CSyntax Syntax[1];

  int GetCountSyntax();
};

}  // namespace DicomAccessLibraryCpp

#endif
