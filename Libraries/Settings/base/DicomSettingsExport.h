// Export marker of libdicomsettings: the library is built with hidden visibility,
// and only what carries DICOMSETTINGS_API is part of its interface.
#ifndef DICOMSETTINGS_EXPORT_H
#define DICOMSETTINGS_EXPORT_H

#if defined(DICOMSETTINGS_BUILDING)
#define DICOMSETTINGS_API __attribute__((visibility("default")))
#else
#define DICOMSETTINGS_API
#endif

#endif
