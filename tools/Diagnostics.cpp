// Error messages on standard error.
#include "Diagnostics.h"

#include <iostream>

namespace dicomsettings_tool {

int ReportError(int code, const std::string& file, const std::string& what) {
  std::cerr << "dicom-settings: ";
  if (!file.empty()) std::cerr << file << ": ";
  std::cerr << what << '\n';
  return code;
}

}  // namespace dicomsettings_tool
