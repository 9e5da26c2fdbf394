// `check FILE`: "FILE:LINE:COLUMN: problem" for each problem on standard output,
// the store's parse fault included, and a count at the end.
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

void PrintFinding(const std::string& file, const Finding& finding) {
  std::cout << file << ':' << finding.line << ':' << finding.column << ": " << finding.text << '\n';
}

}  // namespace

int RunCheck(const std::string& file) {
  std::wstring path;
  if (!ToWide(file, &path) || path.empty()) {
    return ReportError(kExitUsage, file, "not a usable file name");
  }
  StoreParseError error;
  const int result = StoreCheckFile(path.c_str(), &error);
  if (result == STORE_E_PARSE) {
    PrintFinding(file, Finding{error.line, error.column, error.text});
    std::cout << "1 problem found\n";
    return kExitProblems;
  }
  if (result != STORE_OK) return ReportError(kExitUsage, file, DescribeParseError(error));
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (!in) return ReportError(kExitUsage, file, StoreResultText(STORE_E_IO));
  const std::vector<Finding> findings = CheckSettingsText(bytes.str());
  for (const Finding& finding : findings) PrintFinding(file, finding);
  if (findings.empty()) {
    std::cout << "no problems found\n";
    return kExitSuccess;
  }
  std::cout << findings.size() << (findings.size() == 1 ? " problem" : " problems") << " found\n";
  return kExitProblems;
}

}  // namespace dicomsettings_tool
