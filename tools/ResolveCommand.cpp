// `resolve PATH`: the settings of PATH as it and the sources it extends resolve
// them, as one settings file on standard output. Every area is copied by section
// assignment into a tree the store starts empty, at a path in a folder of the
// command's own that is never saved to, and that tree's text is written out: it
// holds what the library reads through PATH, and no link.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "Commands.h"
#include "Diagnostics.h"
#include "SettingsFile.h"
#include "WideText.h"

namespace dicomsettings_tool {
namespace {

// Copies every area of from into the empty tree open at scratch; false with *why.
bool CopyAll(SettingsFile& from, const std::string& scratch, std::string* why) {
  SettingsFile to(scratch);
  if (!to.Open(why)) return false;
  for (const SectionSchema* area : AllAreas()) {
    CAccessLibraryBaseCpp* source = from.Section(*area);
    CAccessLibraryBaseCpp* target = to.Section(*area);
    if (source == nullptr || target == nullptr) {
      *why = std::string("cannot open area ") + area->area;
      return false;
    }
    area->assign(*target, *source);
  }
  return true;
}

}  // namespace

int RunResolve(const std::string& file) {
  SettingsFile from(file);
  if (const int failed = OpenOrReport(from)) return failed;
  std::error_code error;
  std::string folder = (std::filesystem::temp_directory_path(error) / "dicom-settings-XXXXXX");
  if (error || mkdtemp(folder.data()) == nullptr) {
    return ReportError(kExitUsage, file,
                       "cannot make a temporary folder: " + std::string(std::strerror(errno)));
  }
  const std::string scratch = folder + "/resolved.xml";
  std::wstring path;
  ToWide(scratch, &path);
  std::string why;
  std::string text;
  const int created = StoreCreate(path.c_str());
  const bool done = created == STORE_OK && CopyAll(from, scratch, &why) && ExportText(path, &text);
  if (created != STORE_OK || why.empty()) why = FailureText(path);
  if (created == STORE_OK) StoreClose(path.c_str(), 0);
  rmdir(folder.c_str());
  if (!done) return ReportError(kExitUsage, file, why);
  std::cout << text;
  return std::cout.flush() ? kExitSuccess : kExitUsage;
}

}  // namespace dicomsettings_tool
