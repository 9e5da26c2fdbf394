// DicomSettings: every public header of the settings access library.
#ifndef DICOMSETTINGS_DICOMSETTINGS_H
#define DICOMSETTINGS_DICOMSETTINGS_H

#include "AccessLibraryBaseCpp.h"
#include "CEchoScuSetting.h"
#include "CSyntax.h"
#include "KeyTreeStore.h"
#include "SectionFramework.h"
#include "SettingsSchema.h"

#endif
