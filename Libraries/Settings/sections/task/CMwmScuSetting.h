// CMwmScuSetting: the modality worklist client task's settings, under "/Mwmscu".
// Section semantics and thread safety: SectionFramework.h.
#ifndef DICOMSETTINGS_CMWMSCUSETTING_H
#define DICOMSETTINGS_CMWMSCUSETTING_H

#include "CSyntax.h"
#include "SectionFramework.h"

namespace DicomAccessLibraryCpp {

class DICOMSETTINGS_API CMwmScuSetting : public CAccessLibraryBaseCpp {
  DICOMSETTINGS_SECTION(CMwmScuSetting)

  IntProxy TaskCount;
  StringProxy RequestFolder;
  StringProxy WorkFolder;
  StringProxy ResFolder;
  StringProxy OrderFolder;
  StringProxy DailyFolder;
  StringProxy CsvFile;
  IntProxy Port;
  DoubleProxy Timeout;
  IntProxy UniqueKeyType;
  StringProxy UniqueKeyData;
  IntProxy MaxReceiveOrderNum;
  Mwmscu::CSyntax Syntax[1];

  int GetCountSyntax();
};

}  // namespace DicomAccessLibraryCpp

#endif
