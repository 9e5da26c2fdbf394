// `diff FILE1 FILE2 [AREA...]`: "- KEY = text" for FILE1's side of a
// difference, "+ KEY = text" for FILE2's, in the order of the key tables; each
// side as the settings and the sources they extend resolve it.
// `diff --own CHILD PARENT [AREA...]`: what CHILD holds itself, each value as
// "+ KEY = text" after PARENT's "- KEY = text" where PARENT holds the key.
// `diff PATH@ID FILE2 [AREA...]`, where "PATH@ID" names no settings itself:
// PATH as it was just after record ID of its change history against FILE2.
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

int PrintDifferences(const std::string& first, const std::string& second,
                     const std::vector<Difference>& differences) {
  if (differences.empty()) return kExitSuccess;
  std::cout << "--- " << first << "\n+++ " << second << '\n';
  for (const Difference& difference : differences) {
    const std::string key = ToUtf8(difference.key);
    if (difference.first) std::cout << "- " << key << " = " << ToUtf8(*difference.first) << '\n';
    if (difference.second) std::cout << "+ " << key << " = " << ToUtf8(*difference.second) << '\n';
  }
  return kExitProblems;
}

// The path and record id of name "PATH@ID" when name itself names no settings.
bool SplitRecordName(const std::string& name, std::string* path, long long* id) {
  const size_t at = name.rfind('@');
  std::wstring whole;
  if (at == std::string::npos || at == 0 || at + 1 == name.size() || name.size() - at > 18 ||
      name.find_first_not_of("0123456789", at + 1) != std::string::npos || !ToWide(name, &whole) ||
      StoreCheckFile(whole.c_str(), nullptr) != STORE_E_NO_FILE) {
    return false;
  }
  *path = name.substr(0, at);
  *id = std::stoll(name.substr(at + 1));
  return true;
}

// Compares the settings at path as they were just after record id (reverted in
// memory, then dropped by a load) with second as it is now.
int DiffRecord(const std::string& first, const std::string& path, long long id,
               const std::string& second, const std::vector<const SectionSchema*>& selected) {
  SettingsFile then(path);
  SettingsFile other(second);
  SettingsFile& now = second == path ? then : other;
  std::vector<AreaReading> before;
  std::vector<AreaReading> after;
  std::string why;
  if (const int failed = OpenOrReport(then)) return failed;
  if (StoreRevertTo(then.Path(), id) != STORE_OK) {
    return ReportError(kExitUsage, first, FailureText(then.Path()));
  }
  if (!ReadAreas(then, selected, &before, &why)) return ReportError(kExitUsage, first, why);
  if (StoreLoad(then.Path()) != STORE_OK) {
    return ReportError(kExitUsage, path, FailureText(then.Path()));
  }
  if (&now == &other) {
    if (const int failed = OpenOrReport(other)) return failed;
  }
  if (!ReadAreas(now, selected, &after, &why)) return ReportError(kExitUsage, second, why);
  return PrintDifferences(first, second, CompareReadings(before, after));
}

}  // namespace

int RunDiff(const std::string& first, const std::string& second,
            const std::vector<std::string>& areas, bool own) {
  std::vector<const SectionSchema*> selected;
  std::string why;
  if (!SelectAreas(areas, &selected, &why)) return ReportError(kExitUsage, first, why);
  std::string path;
  long long id = 0;
  if (SplitRecordName(first, &path, &id)) {
    if (own) return ReportError(kExitUsage, first, "--own compares two files, not a record");
    return DiffRecord(first, path, id, second, selected);
  }
  SettingsFile a(first);
  SettingsFile b(second);
  if (const int failed = OpenOrReport(a)) return failed;
  if (const int failed = OpenOrReport(b)) return failed;
  if (own) return PrintOwn(a, b, selected);
  std::vector<Difference> differences;
  if (!CompareFiles(a, b, selected, &differences, &why)) {
    return ReportError(kExitUsage, first, why);
  }
  return PrintDifferences(first, second, differences);
}

}  // namespace dicomsettings_tool
