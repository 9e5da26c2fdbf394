// CMediaScuSetting: the Media task's settings, under "/MediaScu".
// Section semantics and thread safety: SectionFramework.h.
#ifndef DICOMSETTINGS_CMEDIASCUSETTING_H
#define DICOMSETTINGS_CMEDIASCUSETTING_H

#include "SectionFramework.h"

namespace DicomAccessLibraryCpp {

class DICOMSETTINGS_API CMediaScuSetting : public CAccessLibraryBaseCpp {
  DICOMSETTINGS_SECTION(CMediaScuSetting)

  IntProxy TaskCount;
  StringProxy RequestFolder;
  StringProxy WorkFolder;
  StringProxy ResFolder;
  StringProxy ImageFolder;
  StringProxy DailyFolder;
};

}  // namespace DicomAccessLibraryCpp

#endif
