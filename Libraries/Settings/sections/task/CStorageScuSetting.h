// CStorageScuSetting: the Storage task's settings, under "/StorageScu".
// Section semantics and thread safety: SectionFramework.h.
#ifndef DICOMSETTINGS_CSTORAGESCUSETTING_H
#define DICOMSETTINGS_CSTORAGESCUSETTING_H

#include "CSyntax.h"
#include "SectionFramework.h"

namespace DicomAccessLibraryCpp {

class DICOMSETTINGS_API CStorageScuSetting : public CAccessLibraryBaseCpp {
  DICOMSETTINGS_SECTION(CStorageScuSetting)

  IntProxy TaskCount;
  StringProxy RequestFolder;
  StringProxy WorkFolder;
  StringProxy ResFolder;
  StringProxy DailyFolder;
  StringProxy SystemTagConvPath;
  StringProxy UserTagConvPath;
  StringProxy EncodeTagConvPath;
  StorageScu::CSyntax Syntax[4];

  int GetCountSyntax();
};

}  // namespace DicomAccessLibraryCpp

#endif
