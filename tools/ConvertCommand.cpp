// `convert FILE --to ENCODING`: rewrites a settings file in another encoding in
// one crash-safe save, its declaration saying so; refused, nothing changed, when
// a value cannot be written in it. A file that does not decode never opens.
#include "Commands.h"
#include "Diagnostics.h"
#include "SettingsFile.h"

namespace dicomsettings_tool {

int RunConvert(const std::string& file, const std::string& encoding) {
  SettingsFile settings(file);
  if (const int failed = OpenOrReport(settings)) return failed;
  std::string why;
  if (StoreSetEncoding(settings.Path(), encoding.c_str()) != STORE_OK) {
    return ReportError(kExitUsage, file, FailureText(std::wstring(settings.Path())));
  }
  return settings.Save(&why) ? kExitSuccess : ReportError(kExitUsage, file, why);
}

}  // namespace dicomsettings_tool
