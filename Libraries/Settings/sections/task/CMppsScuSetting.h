// CMppsScuSetting: the procedure-step (MPPS) client task's settings, under "/MppsScu".
// Section semantics and thread safety: SectionFramework.h.
#ifndef DICOMSETTINGS_CMPPSSCUSETTING_H
#define DICOMSETTINGS_CMPPSSCUSETTING_H

#include "CSyntax.h"
#include "SectionFramework.h"

namespace DicomAccessLibraryCpp {

class DICOMSETTINGS_API CMppsScuSetting : public CAccessLibraryBaseCpp {
  DICOMSETTINGS_SECTION(CMppsScuSetting)

  IntProxy TaskCount;
  StringProxy RequestFolder;
  StringProxy WorkFolder;
  StringProxy ResFolder;
  StringProxy DailyFolder;
  StringProxy SystemTagConvPath;
  StringProxy UserTagConvPath;
  StringProxy EncodeTagConvPath;
  IntProxy RisCodeSelect;
  MppsScu::CSyntax Syntax[1];

  int GetCountSyntax();
};

}  // namespace DicomAccessLibraryCpp

#endif
