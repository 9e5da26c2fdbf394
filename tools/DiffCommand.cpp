// `diff FILE1 FILE2 [AREA...]`: "- KEY = text" for FILE1's side of a
// difference, "+ KEY = text" for FILE2's, in the order of the key tables.
#include <iostream>

#include "AreaDiff.h"
#include "Commands.h"
#include "Diagnostics.h"
#include "WideText.h"

namespace dicomsettings_tool {

int RunDiff(const std::string& first, const std::string& second,
            const std::vector<std::string>& areas) {
  std::vector<const SectionSchema*> selected;
  std::string why;
  if (!SelectAreas(areas, &selected, &why)) return ReportError(kExitUsage, first, why);
  SettingsFile a(first);
  SettingsFile b(second);
  if (const int failed = OpenOrReport(a)) return failed;
  if (const int failed = OpenOrReport(b)) return failed;
  std::vector<Difference> differences;
  if (!CompareFiles(a, b, selected, &differences, &why)) {
    return ReportError(kExitUsage, first, why);
  }
  if (differences.empty()) return kExitSuccess;
  std::cout << "--- " << first << "\n+++ " << second << '\n';
  for (const Difference& difference : differences) {
    const std::string key = ToUtf8(difference.key);
    if (difference.first) std::cout << "- " << key << " = " << ToUtf8(*difference.first) << '\n';
    if (difference.second) std::cout << "+ " << key << " = " << ToUtf8(*difference.second) << '\n';
  }
  return kExitProblems;
}

}  // namespace dicomsettings_tool
