// `show PATH [AREA...] [--json] [--origin]`.
#include <iostream>

#include "AreaReading.h"
#include "Commands.h"
#include "Diagnostics.h"
#include "ShowFormat.h"

namespace dicomsettings_tool {

int RunShow(const std::string& file, const std::vector<std::string>& areas, bool json,
            bool origin) {
  std::vector<const SectionSchema*> selected;
  std::string why;
  if (!SelectAreas(areas, &selected, &why)) return ReportError(kExitUsage, file, why);
  SettingsFile settings(file);
  if (const int failed = OpenOrReport(settings)) return failed;
  nlohmann::ordered_json document = {{"file", file}, {"areas", nlohmann::ordered_json::array()}};
  for (const SectionSchema* area : selected) {
    AreaReading reading;
    if (!ReadArea(settings, *area, &reading)) {
      return ReportError(kExitUsage, file, std::string("cannot open area ") + area->area);
    }
    if (origin) AddOrigins(settings, &reading);
    if (json) {
      document["areas"].push_back(AreaToJson(reading));
    } else {
      PrintArea(std::cout, reading);
    }
  }
  if (json) std::cout << document.dump(2) << '\n';
  return kExitSuccess;
}

}  // namespace dicomsettings_tool
