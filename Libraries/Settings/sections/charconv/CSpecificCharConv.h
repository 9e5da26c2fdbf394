// CSpecificCharConv: the specific character set conversion settings, up to 50
// setting groups under "/SpecificCharConv/SettingGroup", each with six values and
// up to three person-name component entries for sending and three for receiving.
// Section semantics and thread safety: SectionFramework.h.
#ifndef DICOMSETTINGS_CSPECIFICCHARCONV_H
#define DICOMSETTINGS_CSPECIFICCHARCONV_H

#include "SectionFramework.h"

namespace DicomAccessLibraryCpp {

class CSpecificCharConv;
namespace SettingGroup {
class CSettingGroup;
}

// The three values of a person-name component entry, shared by the send and the
// receive entries (two distinct classes of the same shape).
template <class D>
class PNConponentEntry : public ListElement<D> {
 public:
  IntProxy CopyFrom;
  IntProxy ConvertCharType;
  BoolProxy OverWriteFlag;

 private:
  friend class SettingGroup::CSettingGroup;
};

namespace SendPNConponent {
// A component entry for sending: node ".../SettingGroup[i]/SendPNConponent[j]".
class DICOMSETTINGS_API CSendPNConponent : public PNConponentEntry<CSendPNConponent> {
 public:
  static const ElementSchema& Schema();
};
}  // namespace SendPNConponent

namespace ReceivePNConponent {
// A component entry for receiving: node ".../SettingGroup[i]/ReceivePNConponent[j]".
class DICOMSETTINGS_API CReceivePNConponent : public PNConponentEntry<CReceivePNConponent> {
 public:
  static const ElementSchema& Schema();
};
}  // namespace ReceivePNConponent

namespace SettingGroup {
// One setting group: node "/SpecificCharConv/SettingGroup[i]".
class DICOMSETTINGS_API CSettingGroup : public ListElement<CSettingGroup> {
 public:
  StringProxy GroupRefName;
  StringProxy GroupName;
  StringProxy SpecificCharacterSet;
  BoolProxy HalfToWideKana;
  IntProxy SendConvertTarget;
  IntProxy ReceiveConvertTarget;
  SendPNConponent::CSendPNConponent SendPNConponent[3];
  ReceivePNConponent::CReceivePNConponent ReceivePNConponent[3];

  int GetCountSendPNConponent() { return CountList(0); }
  int GetCountReceivePNConponent() { return CountList(1); }

  static const ElementSchema& Schema();

 private:
  friend class ::DicomAccessLibraryCpp::CSpecificCharConv;
};
}  // namespace SettingGroup

class DICOMSETTINGS_API CSpecificCharConv : public CAccessLibraryBaseCpp {
  DICOMSETTINGS_SECTION(CSpecificCharConv)

  SettingGroup::CSettingGroup SettingGroup[50];

  int GetSettingGroup();
};

}  // namespace DicomAccessLibraryCpp

#endif
