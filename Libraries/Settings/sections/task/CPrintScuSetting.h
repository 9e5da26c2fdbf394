// CPrintScuSetting: the Print task's settings, under "/PrintScu".
// Section semantics and thread safety: SectionFramework.h.
#ifndef DICOMSETTINGS_CPRINTSCUSETTING_H
#define DICOMSETTINGS_CPRINTSCUSETTING_H

#include "CSyntax.h"
#include "SectionFramework.h"

namespace DicomAccessLibraryCpp {

class DICOMSETTINGS_API CPrintScuSetting : public CAccessLibraryBaseCpp {
  DICOMSETTINGS_SECTION(CPrintScuSetting)

  IntProxy TaskCount;
  StringProxy RequestFolder;
  StringProxy WorkFolder;
  StringProxy ResFolder;
  StringProxy DailyFolder;
  StringProxy SystemTagConvPath;
  StringProxy UserTagConvPath;
  StringProxy EncodeTagConvPath;
  PrintScu::CSyntax Syntax[1];

  int GetCountSyntax();
};

}  // namespace DicomAccessLibraryCpp

#endif
