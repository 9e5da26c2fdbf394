// CDicomClientSetting: the list of DICOM clients, up to 50 entries under
// "/DicomClientSetting/DicomClient", each with 13 values. Section semantics and
// thread safety: SectionFramework.h.
#ifndef DICOMSETTINGS_CDICOMCLIENTSETTING_H
#define DICOMSETTINGS_CDICOMCLIENTSETTING_H

#include "SectionFramework.h"

namespace DicomAccessLibraryCpp {

class CDicomClientSetting;

namespace DicomClient {
// One client: node "/DicomClientSetting/DicomClient[i]". Its TransferSyntax is a
// single value, not a list.
class DICOMSETTINGS_API CDicomClient : public ListElement<CDicomClient> {
 public:
  StringProxy ServiceName;
  IntProxy ChannelNo;
  StringProxy ClientAe;
  StringProxy ServerAe;
  IntProxy Port;
  StringProxy IpAddress;
  IntProxy PDataReceiveTimeout;
  IntProxy AssociateTimeout;
  IntProxy AfterSendAbortTimeout;
  IntProxy SendTimeout;
  StringProxy TransferSyntax;
  StringProxy CharactorCode;
  BoolProxy OverLapDelete;

  static const ElementSchema& Schema();

 private:
  friend class ::DicomAccessLibraryCpp::CDicomClientSetting;
};
}  // namespace DicomClient

class DICOMSETTINGS_API CDicomClientSetting : public CAccessLibraryBaseCpp {
  DICOMSETTINGS_SECTION(CDicomClientSetting)

  DicomClient::CDicomClient DicomClient[50];

  int GetCountDicomClient();
};

}  // namespace DicomAccessLibraryCpp

#endif
