// Expected keys of the service-wide sections: setup, client list, error list.
#include "ExpectedKeys.h"

namespace expected {

using namespace DicomAccessLibraryCpp;

EXPECTED_TABLE(
    CDicomSetupSetting,
    {Field<&S::ApplicationContextName>(L"/Service/Common/ApplicationContextName", kStr),
     Field<&S::ImplementationClassUid>(L"/Service/Common/ImplementationClassUid", kStr),
     Field<&S::ImplementationVersion>(L"/Service/Common/ImplementationVersion", kStr),
     Field<&S::PduMaxLength>(L"/Service/Common/PduMaxLength", kInt),
     Field<&S::RetryCount>(L"/Service/Common/RetryCount", kInt),
     Field<&S::RetryErrorQueDelete>(L"/Service/Common/RetryErrorQueDelete", kBool),
     Field<&S::FileCheckIntervalTime>(L"/Service/Common/FileCheckIntervalTime", kInt),
     Field<&S::OrgRoot>(L"/Service/Common/OrgRoot", kStr),
     Field<&S::SectionCode>(L"/Service/Common/SectionCode", kStr),
     Field<&S::SystemCode>(L"/Service/Common/SystemCode", kStr),
     Field<&S::SerialNo>(L"/Service/Common/SerialNo", kStr),
     Field<&S::InstanceCode>(L"/Service/Common/InstanceCode", kStr),
     Field<&S::ClientFile>(L"/Service/Common/ClientFile", kStr),
     Field<&S::ImageMemoryMode>(L"/Service/Common/ImageMemoryMode", kInt),
     Field<&S::StringConverterDllPath>(L"/Service/Common/StringConverterDllPath", kStr),
     Field<&S::QuillGraphicDllPath>(L"/Service/Common/QuillGraphicDllPath", kStr),
     Field<&S::DllImpressDllPath>(L"/Service/Common/DllImpressDllPath", kStr),
     Field<&S::LogOutPath>(L"/Service/Common/LogOutPath", kStr),
     Field<&S::LogKeepCount>(L"/Service/Common/LogKeepCount", kInt),
     Field<&S::LogTimerInterval>(L"/Service/Common/LogTimerInterval", kInt),
     Field<&S::LogLevel>(L"/Service/Common/LogLevel", kInt),
     Field<&S::DebugLogout>(L"/Service/Common/DebugLogout", kBool),
     Field<&S::DebugLogLevel>(L"/Service/Common/DebugLogLevel", kInt),
     Field<&S::StringConverterLogIniFile>(L"/Service/Common/StringConverterLogIniFile", kStr),
     Field<&S::StringConverterKanaASCIniFile>(L"/Service/Common/StringConverterKanaASCIniFile",
                                              kStr),
     Field<&S::StringConverterMapPath>(L"/Service/Common/StringConverterMapPath", kStr),
     Field<&S::UnConvertCharSingle>(L"/Service/Common/UnConvertCharSingle", kStr),
     Field<&S::UnConvertCharMulti>(L"/Service/Common/UnConvertCharMulti", kStr),
     Field<&S::DicomDllPath>(L"/Service/Common/DicomDllPath", kStr),
     Field<&S::DicomTagDicPath>(L"/Service/Common/DicomTagDicPath", kStr),
     Field<&S::MwmScuPath>(L"/Service/MwmScu/MwmScuPath", kStr),
     Field<&S::MwmScuAction>(L"/Service/MwmScu/MwmScuAction", kBool),
     Field<&S::PrintScuPath>(L"/Service/PrintScu/PrintScuPath", kStr),
     Field<&S::PrintScuAction>(L"/Service/PrintScu/PrintScuAction", kBool),
     Field<&S::PrintNEventPath>(L"/Service/PrintNEvent/PrintNEventPath", kStr),
     Field<&S::PrintNEventAction>(L"/Service/PrintNEvent/PrintNEventAction", kBool),
     Field<&S::StorageScuPath>(L"/Service/StorageScu/StorageScuPath", kStr),
     Field<&S::StorageScuAction>(L"/Service/StorageScu/StorageScuAction", kBool),
     Field<&S::DetachScuRecvPath>(L"/Service/DetachScuRecv/DetachScuRecvPath", kStr),
     Field<&S::DetachScuRecvAction>(L"/Service/DetachScuRecv/DetachScuRecvAction", kBool),
     Field<&S::DetachScuSendPath>(L"/Service/DetachScuSend/DetachScuSendPath", kStr),
     Field<&S::DetachScuSendAction>(L"/Service/DetachScuSend/DetachScuSendAction", kBool),
     Field<&S::MppsScuPath>(L"/Service/MppsScu/MppsScuPath", kStr),
     Field<&S::MppsScuAction>(L"/Service/MppsScu/MppsScuAction", kBool),
     Field<&S::ScScuRecvPath>(L"/Service/ScScuRecv/ScScuRecvPath", kStr),
     Field<&S::ScScuRecvAction>(L"/Service/ScScuRecv/ScScuRecvAction", kBool),
     Field<&S::ScScuSendPath>(L"/Service/ScScuSend/ScScuSendPath", kStr),
     Field<&S::ScScuSendAction>(L"/Service/ScScuSend/ScScuSendAction", kBool),
     Field<&S::EchoScuPath>(L"/Service/EchoScu/EchoScuPath", kStr),
     Field<&S::EchoScuAction>(L"/Service/EchoScu/EchoScuAction", kBool),
     Field<&S::MediaScuPath>(L"/Service/MediaScu/MediaScuPath", kStr),
     Field<&S::MediaScuAction>(L"/Service/MediaScu/MediaScuAction", kBool)},
    {})

EXPECTED_TABLE(DicomClient::CDicomClient,
               {Field<&S::ServiceName>(L"/ServiceName", kStr),
                Field<&S::ChannelNo>(L"/ChannelNo", kInt), Field<&S::ClientAe>(L"/ClientAe", kStr),
                Field<&S::ServerAe>(L"/ServerAe", kStr), Field<&S::Port>(L"/Port", kInt),
                Field<&S::IpAddress>(L"/IpAddress", kStr),
                Field<&S::PDataReceiveTimeout>(L"/PDataReceiveTimeout", kInt),
                Field<&S::AssociateTimeout>(L"/AssociateTimeout", kInt),
                Field<&S::AfterSendAbortTimeout>(L"/AfterSendAbortTimeout", kInt),
                Field<&S::SendTimeout>(L"/SendTimeout", kInt),
                Field<&S::TransferSyntax>(L"/TransferSyntax", kStr),
                Field<&S::CharactorCode>(L"/CharactorCode", kStr),
                Field<&S::OverLapDelete>(L"/OverLapDelete", kBool)},
               {})

EXPECTED_TABLE(CDicomClientSetting, {},
               {Nodes<&S::DicomClient>(L"/DicomClientSetting/DicomClient", 50)})

EXPECTED_TABLE(DicomError::CDicomError,
               {Field<&S::InsideError>(L"/InsideError", kInt),
                Field<&S::OutsideError>(L"/OutsideError", kInt),
                Field<&S::ErrorInfo>(L"/ErrorInfo", kStr)},
               {})

EXPECTED_TABLE(CDicomErrorSetting, {},
               {Nodes<&S::DicomError>(L"/DicomErrorSetting/DicomError", 300)})

}  // namespace expected
