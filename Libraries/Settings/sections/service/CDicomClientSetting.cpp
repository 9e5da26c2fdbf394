// Key tables of the client list and its entries.
#include "CDicomClientSetting.h"

namespace DicomAccessLibraryCpp {
namespace {
using E = DicomClient::CDicomClient;
constexpr ValueField kClientValues[] = {
    Value<&E::ServiceName>(L"/ServiceName"),
    Value<&E::ChannelNo>(L"/ChannelNo"),
    Value<&E::ClientAe>(L"/ClientAe"),
    Value<&E::ServerAe>(L"/ServerAe"),
    Value<&E::Port>(L"/Port"),
    Value<&E::IpAddress>(L"/IpAddress"),
    Value<&E::PDataReceiveTimeout>(L"/PDataReceiveTimeout"),
    Value<&E::AssociateTimeout>(L"/AssociateTimeout"),
    Value<&E::AfterSendAbortTimeout>(L"/AfterSendAbortTimeout"),
    Value<&E::SendTimeout>(L"/SendTimeout"),
    Value<&E::TransferSyntax>(L"/TransferSyntax"),
    Value<&E::CharactorCode>(L"/CharactorCode"),
    Value<&E::OverLapDelete>(L"/OverLapDelete"),
};
constexpr ListField kLists[] = {
    List<&CDicomClientSetting::DicomClient>(L"/DicomClientSetting/DicomClient"),
};
}  // namespace

DICOMSETTINGS_DEFINE_ELEMENT(DicomClient::CDicomClient, kClientValues, kNone)
DICOMSETTINGS_DEFINE_SECTION(CDicomClientSetting, "clients", kNone, kLists)

int CDicomClientSetting::GetCountDicomClient() {
  return CountSectionList(GetFilePath(), kLists[0]);
}

}  // namespace DicomAccessLibraryCpp
