// CScScuSendSetting: the send side of the ScScu task, under "/ScScuPut".
// Section semantics and thread safety: SectionFramework.h.
#ifndef DICOMSETTINGS_CSCSCUSENDSETTING_H
#define DICOMSETTINGS_CSCSCUSENDSETTING_H

#include "CSyntax.h"
#include "SectionFramework.h"

namespace DicomAccessLibraryCpp {

class DICOMSETTINGS_API CScScuSendSetting : public CAccessLibraryBaseCpp {
  DICOMSETTINGS_SECTION(CScScuSendSetting)

  IntProxy TaskCount;
  StringProxy RequestFolder;
  StringProxy WorkFolder;
  StringProxy ResFolder;
  StringProxy DailyFolder;
  ScScuPut::CSyntax Syntax[1];

  int GetCountSyntax();
};

}  // namespace DicomAccessLibraryCpp

#endif
