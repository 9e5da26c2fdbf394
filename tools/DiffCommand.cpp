// `diff FILE1 FILE2 [AREA...]`: "- KEY = text" for FILE1's side of a
// difference, "+ KEY = text" for FILE2's, in the order of the key tables; each
// side as the settings and the sources they extend resolve it.
// `diff --own CHILD PARENT [AREA...]`: what CHILD holds itself, each value as
// "+ KEY = text" after PARENT's "- KEY = text" where PARENT holds the key.
#include <iostream>

#include "AreaDiff.h"
#include "AreaReading.h"
#include "Commands.h"
#include "Diagnostics.h"
#include "WideText.h"

namespace dicomsettings_tool {

namespace {

// Prints the values child holds itself beside parent's; 1 when there are any.
int PrintOwn(SettingsFile& child, SettingsFile& parent,
             const std::vector<const SectionSchema*>& selected) {
  bool any = false;
  for (const SectionSchema* area : selected) {
    AreaReading reading;
    if (!ReadArea(child, *area, &reading)) {
      return ReportError(kExitUsage, child.Name(), std::string("cannot open area ") + area->area);
    }
    AddOrigins(child, &reading);
    ForEachValue(reading, [&](const ValueReading& value) {
      if (value.origin != child.Name()) return;
      if (!any) std::cout << "--- " << parent.Name() << "\n+++ " << child.Name() << '\n';
      any = true;
      const std::string key = ToUtf8(value.key);
      wchar_t text[STORE_VALUE_BUFFER_LENGTH];
      if (StoreGetValue(text, parent.Path(), value.key.c_str()) == STORE_OK) {
        std::cout << "- " << key << " = " << ToUtf8(text) << '\n';
      }
      std::cout << "+ " << key << " = " << ToUtf8(value.text) << '\n';
    });
  }
  return any ? kExitProblems : kExitSuccess;
}

}  // namespace

int RunDiff(const std::string& first, const std::string& second,
            const std::vector<std::string>& areas, bool own) {
  std::vector<const SectionSchema*> selected;
  std::string why;
  if (!SelectAreas(areas, &selected, &why)) return ReportError(kExitUsage, first, why);
  SettingsFile a(first);
  SettingsFile b(second);
  if (const int failed = OpenOrReport(a)) return failed;
  if (const int failed = OpenOrReport(b)) return failed;
  if (own) return PrintOwn(a, b, selected);
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
