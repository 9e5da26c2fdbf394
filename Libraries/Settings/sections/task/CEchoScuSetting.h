// CEchoScuSetting: the Echo task's settings, under "/EchoScu".
// Section semantics and thread safety: SectionFramework.h.
#ifndef DICOMSETTINGS_CECHOSCUSETTING_H
#define DICOMSETTINGS_CECHOSCUSETTING_H

#include "CSyntax.h"
#include "SectionFramework.h"

namespace DicomAccessLibraryCpp {

class DICOMSETTINGS_API CEchoScuSetting : public CAccessLibraryBaseCpp {
  DICOMSETTINGS_SECTION(CEchoScuSetting)

  IntProxy TaskCount;
  StringProxy RequestFolder;
  StringProxy WorkFolder;
  StringProxy ResFolder;
  StringProxy DailyFolder;
  StringProxy ClientAeTitle;
  EchoScu::CSyntax Syntax[1];

  int GetCountSyntax();
};

}  // namespace DicomAccessLibraryCpp

#endif
