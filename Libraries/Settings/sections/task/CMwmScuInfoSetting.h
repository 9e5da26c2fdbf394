// CMwmScuInfoSetting: the worklist client's tag items, up to 100 entries under
// "/MwmscuInfoSetting/MwmscuInfo". Section semantics and thread safety:
// SectionFramework.h.
#ifndef DICOMSETTINGS_CMWMSCUINFOSETTING_H
#define DICOMSETTINGS_CMWMSCUINFOSETTING_H

#include "SectionFramework.h"

namespace DicomAccessLibraryCpp {

class CMwmScuInfoSetting;

namespace MwmscuInfo {
// One tag item: node "/MwmscuInfoSetting/MwmscuInfo[i]".
class DICOMSETTINGS_API CMwmscuInfo : public ListElement<CMwmscuInfo> {
 public:
  StringProxy TagItem;

  static const ElementSchema& Schema();

 private:
  friend class ::DicomAccessLibraryCpp::CMwmScuInfoSetting;
};
}  // namespace MwmscuInfo

class DICOMSETTINGS_API CMwmScuInfoSetting : public CAccessLibraryBaseCpp {
  DICOMSETTINGS_SECTION(CMwmScuInfoSetting)

  MwmscuInfo::CMwmscuInfo MwmscuInfo[100];

  int GetCountMwmscuInfo();
};

}  // namespace DicomAccessLibraryCpp

#endif
