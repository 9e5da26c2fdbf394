// The differences between two readings of the same area: keys whose stored
// texts differ, and keys that one side holds and the other does not (a value
// missing from an entry, or a list entry one side has and the other lacks).
#ifndef DICOMSETTINGS_TOOLS_AREADIFF_H
#define DICOMSETTINGS_TOOLS_AREADIFF_H

#include <optional>
#include <string>
#include <vector>

#include "AreaReading.h"

namespace dicomsettings_tool {

struct Difference {
  std::wstring key;
  std::optional<std::wstring> first;   // the first side's text, none where it has none
  std::optional<std::wstring> second;  // the second side's text, none where it has none
};

// The differences in the order of the tables.
std::vector<Difference> CompareAreas(const AreaReading& a, const AreaReading& b);

// Reads the areas of file, in that order; false with *why when one cannot be opened.
bool ReadAreas(SettingsFile& file, const std::vector<const SectionSchema*>& areas,
               std::vector<AreaReading>* readings, std::string* why);

// The differences between readings of the same areas, area by area.
std::vector<Difference> CompareReadings(const std::vector<AreaReading>& a,
                                        const std::vector<AreaReading>& b);

// The differences of the areas between two open files, area by area; false
// with *why when an area cannot be opened in one of them.
bool CompareFiles(SettingsFile& first, SettingsFile& second,
                  const std::vector<const SectionSchema*>& areas,
                  std::vector<Difference>* differences, std::string* why);

}  // namespace dicomsettings_tool

#endif
