// `copy SRC DST AREA...`: section assignment from SRC's objects to DST's, one
// save of DST, then a comparison: section assignment copies only the values SRC
// holds, so settings DST has and SRC lacks stay, and are reported.
#include "AreaDiff.h"
#include "Commands.h"
#include "Diagnostics.h"
#include "WideText.h"

namespace dicomsettings_tool {

int RunCopy(const std::string& source, const std::string& target,
            const std::vector<std::string>& areas) {
  std::vector<const SectionSchema*> selected;
  std::string why;
  if (areas.empty()) return ReportError(kExitUsage, target, "name the areas to copy");
  if (!SelectAreas(areas, &selected, &why)) return ReportError(kExitUsage, target, why);
  SettingsFile from(source);
  SettingsFile to(target);
  if (const int failed = OpenOrReport(from)) return failed;
  if (const int failed = OpenOrReport(to)) return failed;
  for (const SectionSchema* area : selected) {
    CAccessLibraryBaseCpp* fromSection = from.Section(*area);
    CAccessLibraryBaseCpp* toSection = to.Section(*area);
    if (fromSection == nullptr || toSection == nullptr) {
      return ReportError(kExitUsage, target, std::string("cannot open area ") + area->area);
    }
    area->assign(*toSection, *fromSection);
  }
  if (!to.Save(&why)) return ReportError(kExitUsage, target, why);

  std::vector<Difference> left;
  if (!CompareFiles(from, to, selected, &left, &why)) return ReportError(kExitUsage, target, why);
  for (const Difference& difference : left) {
    ReportError(
        kExitProblems, target,
        ToUtf8(difference.key) + (difference.first ? ": differs from " + source
                                                   : ": kept; " + source + " has no such setting"));
  }
  return left.empty() ? kExitSuccess : kExitProblems;
}

}  // namespace dicomsettings_tool
