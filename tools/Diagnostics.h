// Exit codes of dicom-settings and the one form its error messages take on
// standard error: "dicom-settings: <file>: <what went wrong>".
#ifndef DICOMSETTINGS_TOOLS_DIAGNOSTICS_H
#define DICOMSETTINGS_TOOLS_DIAGNOSTICS_H

#include <string>

namespace dicomsettings_tool {

enum ExitCode : int {
  kExitSuccess = 0,   // done, nothing to report
  kExitProblems = 1,  // problems found, differences found, or a value missing
  kExitUsage = 2,     // a refused command line, or a file that cannot be read or written
};

// Prints "dicom-settings: <file>: <what>" (or "dicom-settings: <what>" for an
// empty file name) on standard error and returns code.
int ReportError(int code, const std::string& file, const std::string& what);

}  // namespace dicomsettings_tool

#endif
