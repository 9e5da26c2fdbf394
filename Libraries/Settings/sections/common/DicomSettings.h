// DicomSettings: every public header of the settings access library.
#ifndef DICOMSETTINGS_DICOMSETTINGS_H
#define DICOMSETTINGS_DICOMSETTINGS_H

#include "AccessLibraryBaseCpp.h"
#include "CDetachScuRecvSetting.h"
#include "CDetachScuSendSetting.h"
#include "CDicomClientSetting.h"
#include "CDicomErrorSetting.h"
#include "CDicomSetupSetting.h"
#include "CEchoScuSetting.h"
#include "CMediaScuSetting.h"
#include "CMppsScuSetting.h"
#include "CMwmScuInfoSetting.h"
#include "CMwmScuSetting.h"
#include "CPrintNeventSetting.h"
#include "CPrintScuSetting.h"
#include "CScScuRecvSetting.h"
#include "CScScuSendSetting.h"
#include "CSpecificCharConv.h"
#include "CStorageScuSetting.h"
#include "CSyntax.h"
#include "KeyTreeStore.h"
#include "SectionFramework.h"
#include "SettingsSchema.h"

#endif
