// CPrintNeventSetting: the Print N-EVENT task's settings, under "/Printnevent".
// Section semantics and thread safety: SectionFramework.h.
#ifndef DICOMSETTINGS_CPRINTNEVENTSETTING_H
#define DICOMSETTINGS_CPRINTNEVENTSETTING_H

#include "CSyntax.h"
#include "SectionFramework.h"

namespace DicomAccessLibraryCpp {

class DICOMSETTINGS_API CPrintNeventSetting : public CAccessLibraryBaseCpp {
  DICOMSETTINGS_SECTION(CPrintNeventSetting)

  IntProxy TaskCount;
  StringProxy RequestFolder;
  StringProxy WorkFolder;
  StringProxy ResFolder;
  StringProxy DailyFolder;
  Printnevent::CSyntax Syntax[1];

  int GetCountSyntax();
};

}  // namespace DicomAccessLibraryCpp

#endif
