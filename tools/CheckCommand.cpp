// `check FILE`: "FILE:LINE:COLUMN: problem" for each problem on standard output,
// the store's parse fault included, and a count at the end. Settings kept in an
// etcd cluster have no lines: their problems are named by key alone.
#include <fstream>
#include <iostream>
#include <sstream>

#include "Commands.h"
#include "Diagnostics.h"
#include "FileCheck.h"
#include "SettingsFile.h"
#include "WideText.h"

namespace dicomsettings_tool {
namespace {

void PrintFinding(const std::string& file, const Finding& finding, bool cluster) {
  std::cout << file;
  if (!cluster) std::cout << ':' << finding.line << ':' << finding.column;
  std::cout << ": " << finding.text << '\n';
}

// The text of a file as read, or of settings kept in a cluster as the store
// would write them to a file; false when it cannot be had.
bool ReadSettingsText(const std::string& file, const std::wstring& path, bool cluster,
                      std::string* bytes) {
  if (!cluster) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    *bytes = text.str();
    return static_cast<bool>(in);
  }
  if (StoreOpen(path.c_str(), 0) != STORE_OK) return false;
  size_t length = 0;
  int result = StoreExportText(path.c_str(), nullptr, 0, &length);
  if (result == STORE_E_TOO_LONG) {
    bytes->resize(length + 1);
    result = StoreExportText(path.c_str(), bytes->data(), bytes->size(), &length);
    bytes->resize(length);
  }
  StoreClose(path.c_str(), 0);
  return result == STORE_OK;
}

}  // namespace

int RunCheck(const std::string& file) {
  std::wstring path;
  if (!ToWide(file, &path) || path.empty()) {
    return ReportError(kExitUsage, file, "not a usable file name");
  }
  StoreParseError error;
  const int result = StoreCheckFile(path.c_str(), &error);
  const bool cluster = StorePathKind(path.c_str()) == STORE_KIND_ETCD;
  if (result == STORE_E_PARSE) {
    PrintFinding(file, Finding{error.line, error.column, error.text}, cluster);
    std::cout << "1 problem found\n";
    return kExitProblems;
  }
  if (result != STORE_OK) return ReportError(kExitUsage, file, FailureText(path));
  std::string bytes;
  if (!ReadSettingsText(file, path, cluster, &bytes))
    return ReportError(kExitUsage, file, FailureText(path));
  const std::vector<Finding> findings = CheckSettingsText(bytes);
  for (const Finding& finding : findings) PrintFinding(file, finding, cluster);
  if (findings.empty()) {
    std::cout << "no problems found\n";
    return kExitSuccess;
  }
  std::cout << findings.size() << (findings.size() == 1 ? " problem" : " problems") << " found\n";
  return kExitProblems;
}

}  // namespace dicomsettings_tool
