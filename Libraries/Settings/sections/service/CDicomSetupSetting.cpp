// Key table of the service-wide setup section.
#include "CDicomSetupSetting.h"

namespace DicomAccessLibraryCpp {
namespace {
using S = CDicomSetupSetting;
constexpr ValueField kValues[] = {
    Value<&S::ApplicationContextName>(L"/Service/Common/ApplicationContextName"),
    Value<&S::ImplementationClassUid>(L"/Service/Common/ImplementationClassUid"),
    Value<&S::ImplementationVersion>(L"/Service/Common/ImplementationVersion"),
    Value<&S::PduMaxLength>(L"/Service/Common/PduMaxLength"),
    Value<&S::RetryCount>(L"/Service/Common/RetryCount"),
    Value<&S::RetryErrorQueDelete>(L"/Service/Common/RetryErrorQueDelete"),
    Value<&S::FileCheckIntervalTime>(L"/Service/Common/FileCheckIntervalTime"),
    Value<&S::OrgRoot>(L"/Service/Common/OrgRoot"),
    Value<&S::SectionCode>(L"/Service/Common/SectionCode"),
    Value<&S::SystemCode>(L"/Service/Common/SystemCode"),
    Value<&S::SerialNo>(L"/Service/Common/SerialNo"),
    Value<&S::InstanceCode>(L"/Service/Common/InstanceCode"),
    Value<&S::ClientFile>(L"/Service/Common/ClientFile"),
    Value<&S::ImageMemoryMode>(L"/Service/Common/ImageMemoryMode"),
    Value<&S::StringConverterDllPath>(L"/Service/Common/StringConverterDllPath"),
    Value<&S::QuillGraphicDllPath>(L"/Service/Common/QuillGraphicDllPath"),
    Value<&S::DllImpressDllPath>(L"/Service/Common/DllImpressDllPath"),
    Value<&S::LogOutPath>(L"/Service/Common/LogOutPath"),
    Value<&S::LogKeepCount>(L"/Service/Common/LogKeepCount"),
    Value<&S::LogTimerInterval>(L"/Service/Common/LogTimerInterval"),
    Value<&S::LogLevel>(L"/Service/Common/LogLevel"),
    Value<&S::DebugLogout>(L"/Service/Common/DebugLogout"),
    Value<&S::DebugLogLevel>(L"/Service/Common/DebugLogLevel"),
    Value<&S::StringConverterLogIniFile>(L"/Service/Common/StringConverterLogIniFile"),
    Value<&S::StringConverterKanaASCIniFile>(L"/Service/Common/StringConverterKanaASCIniFile"),
    Value<&S::StringConverterMapPath>(L"/Service/Common/StringConverterMapPath"),
    Value<&S::UnConvertCharSingle>(L"/Service/Common/UnConvertCharSingle"),
    Value<&S::UnConvertCharMulti>(L"/Service/Common/UnConvertCharMulti"),
    Value<&S::DicomDllPath>(L"/Service/Common/DicomDllPath"),
    Value<&S::DicomTagDicPath>(L"/Service/Common/DicomTagDicPath"),
    Value<&S::MwmScuPath>(L"/Service/MwmScu/MwmScuPath"),
    Value<&S::MwmScuAction>(L"/Service/MwmScu/MwmScuAction"),
    Value<&S::PrintScuPath>(L"/Service/PrintScu/PrintScuPath"),
    Value<&S::PrintScuAction>(L"/Service/PrintScu/PrintScuAction"),
    Value<&S::PrintNEventPath>(L"/Service/PrintNEvent/PrintNEventPath"),
    Value<&S::PrintNEventAction>(L"/Service/PrintNEvent/PrintNEventAction"),
    Value<&S::StorageScuPath>(L"/Service/StorageScu/StorageScuPath"),
    Value<&S::StorageScuAction>(L"/Service/StorageScu/StorageScuAction"),
    Value<&S::DetachScuRecvPath>(L"/Service/DetachScuRecv/DetachScuRecvPath"),
    Value<&S::DetachScuRecvAction>(L"/Service/DetachScuRecv/DetachScuRecvAction"),
    Value<&S::DetachScuSendPath>(L"/Service/DetachScuSend/DetachScuSendPath"),
    Value<&S::DetachScuSendAction>(L"/Service/DetachScuSend/DetachScuSendAction"),
    Value<&S::MppsScuPath>(L"/Service/MppsScu/MppsScuPath"),
    Value<&S::MppsScuAction>(L"/Service/MppsScu/MppsScuAction"),
    Value<&S::ScScuRecvPath>(L"/Service/ScScuRecv/ScScuRecvPath"),
    Value<&S::ScScuRecvAction>(L"/Service/ScScuRecv/ScScuRecvAction"),
    Value<&S::ScScuSendPath>(L"/Service/ScScuSend/ScScuSendPath"),
    Value<&S::ScScuSendAction>(L"/Service/ScScuSend/ScScuSendAction"),
    Value<&S::EchoScuPath>(L"/Service/EchoScu/EchoScuPath"),
    Value<&S::EchoScuAction>(L"/Service/EchoScu/EchoScuAction"),
    Value<&S::MediaScuPath>(L"/Service/MediaScu/MediaScuPath"),
    Value<&S::MediaScuAction>(L"/Service/MediaScu/MediaScuAction"),
};
}  // namespace

DICOMSETTINGS_DEFINE_SECTION(CDicomSetupSetting, "setup", kValues, kNone)

}  // namespace DicomAccessLibraryCpp
