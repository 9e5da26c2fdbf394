// CDicomSetupSetting: the service-wide setup shared by every service, under "/Service".
// Section semantics and thread safety: SectionFramework.h.
#ifndef DICOMSETTINGS_CDICOMSETUPSETTING_H
#define DICOMSETTINGS_CDICOMSETUPSETTING_H

#include "SectionFramework.h"

namespace DicomAccessLibraryCpp {

class DICOMSETTINGS_API CDicomSetupSetting : public CAccessLibraryBaseCpp {
  DICOMSETTINGS_SECTION(CDicomSetupSetting)

  StringProxy ApplicationContextName;
  StringProxy ImplementationClassUid;
  StringProxy ImplementationVersion;
  IntProxy PduMaxLength;
  IntProxy RetryCount;
  BoolProxy RetryErrorQueDelete;
  IntProxy FileCheckIntervalTime;
  StringProxy OrgRoot;
  StringProxy SectionCode;
  StringProxy SystemCode;
  StringProxy SerialNo;
  StringProxy InstanceCode;
  StringProxy ClientFile;
  IntProxy ImageMemoryMode;
  StringProxy StringConverterDllPath;
  StringProxy QuillGraphicDllPath;
  StringProxy DllImpressDllPath;
  StringProxy LogOutPath;
  IntProxy LogKeepCount;
  IntProxy LogTimerInterval;
  IntProxy LogLevel;
  BoolProxy DebugLogout;
  IntProxy DebugLogLevel;
  StringProxy StringConverterLogIniFile;
  StringProxy StringConverterKanaASCIniFile;
  StringProxy StringConverterMapPath;
  StringProxy UnConvertCharSingle;
  StringProxy UnConvertCharMulti;
  StringProxy DicomDllPath;
  StringProxy DicomTagDicPath;
  StringProxy MwmScuPath;
  BoolProxy MwmScuAction;
  StringProxy PrintScuPath;
  BoolProxy PrintScuAction;
  StringProxy PrintNEventPath;
  BoolProxy PrintNEventAction;
  StringProxy StorageScuPath;
  BoolProxy StorageScuAction;
  StringProxy DetachScuRecvPath;
  BoolProxy DetachScuRecvAction;
  StringProxy DetachScuSendPath;
  BoolProxy DetachScuSendAction;
  StringProxy MppsScuPath;
  BoolProxy MppsScuAction;
  StringProxy ScScuRecvPath;
  BoolProxy ScScuRecvAction;
  StringProxy ScScuSendPath;
  BoolProxy ScScuSendAction;
  StringProxy EchoScuPath;
  BoolProxy EchoScuAction;
  StringProxy MediaScuPath;
  BoolProxy MediaScuAction;
};

}  // namespace DicomAccessLibraryCpp

#endif
