// The problems `check` finds in the elements of a settings file that parses:
// names outside the library's vocabulary (with the nearest known name), values
// that do not read as their kind or are too long to be read, list entries beyond
// what a section reaches, and repeated elements of which only the first is read.
#ifndef DICOMSETTINGS_TOOLS_FILECHECK_H
#define DICOMSETTINGS_TOOLS_FILECHECK_H

#include <string>
#include <vector>

namespace dicomsettings_tool {

struct Finding {
  int line;    // from 1
  int column;  // from 1, in characters
  std::string text;
};

// The findings in the UTF-8 bytes of a settings file, in document order. A text
// that does not parse gives one finding at the fault.
std::vector<Finding> CheckSettingsText(const std::string& bytes);

}  // namespace dicomsettings_tool

#endif
