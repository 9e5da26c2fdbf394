// `check PATH`: "FILE:LINE:COLUMN: problem" for each problem on standard output,
// the store's parse fault included, and a count at the end. Settings kept in an
// etcd cluster have no lines: their problems are named by key alone. Settings
// that extend others are checked with every source of their chain, each named
// by its own path; a chain the store cannot read (a link that makes a cycle, a
// missing or malformed source) is one problem, in the store's words. Each fault
// of the change history kept with the settings is a problem too, at its line of
// "FILE.history".
#include <iostream>

#include "ChangeHistory.h"
#include "Commands.h"
#include "Diagnostics.h"
#include "FileCheck.h"
#include "SettingsFile.h"
#include "WideText.h"

namespace dicomsettings_tool {
namespace {

void PrintFinding(const std::string& file, const Finding& finding, bool cluster) {
  std::cout << file;
  if (!cluster && finding.line > 0) std::cout << ':' << finding.line << ':' << finding.column;
  std::cout << ": " << finding.text << '\n';
}

// The text of a file as read (decoded into UTF-8 from its own encoding, which
// *encoding names), or of settings kept in a cluster as the store would write
// them to a file; false when it cannot be had.
bool ReadSettingsText(const std::wstring& path, bool cluster, std::string* bytes,
                      std::string* encoding) {
  *encoding = "UTF-8";
  if (!cluster) {
    char name[64];
    const bool read = FetchText(
        [&](char* buffer, size_t capacity, size_t* length) {
          return StoreReadFileText(path.c_str(), buffer, capacity, length, name, sizeof name);
        },
        bytes);
    if (read) *encoding = name;
    return read;
  }
  if (StoreOpen(path.c_str(), 0) != STORE_OK) return false;
  const bool exported = ExportText(path, bytes);
  StoreClose(path.c_str(), 0);
  return exported;
}

// The paths of the sources the settings at path extend, nearest first.
std::vector<std::string> SourcesOf(const std::wstring& path) {
  std::vector<std::string> sources;
  if (StoreOpen(path.c_str(), 0) != STORE_OK) return sources;
  for (int depth = 1;; ++depth) {
    std::string source = SourcePath(path.c_str(), depth);
    if (source.empty()) break;
    sources.push_back(std::move(source));
  }
  StoreClose(path.c_str(), 0);
  return sources;
}

// Checks the text of one source and prints what it finds: their number, or -1
// when the text cannot be had (reported).
int CheckSource(const std::string& file) {
  std::wstring path;
  ToWide(file, &path);
  const bool cluster = StorePathKind(path.c_str()) == STORE_KIND_ETCD;
  std::string bytes;
  std::string encoding;
  if (!ReadSettingsText(path, cluster, &bytes, &encoding)) {
    ReportError(kExitUsage, file, FailureText(path));
    return -1;
  }
  if (encoding != "UTF-8") std::cout << file << ": written in " << encoding << '\n';
  const std::vector<Finding> findings = CheckSettingsText(bytes);
  for (const Finding& finding : findings) PrintFinding(file, finding, cluster);
  return static_cast<int>(findings.size());
}

// Prints the faults of the history kept with the settings at path, or why it
// cannot be read: their number.
size_t CheckHistory(const std::string& file, const std::wstring& path) {
  History history;
  std::string why;
  if (!ReadHistory(path, &history, &why)) {
    std::cout << file << ": " << why << '\n';
    return 1;
  }
  for (const HistoryFault& fault : history.faults) {
    std::cout << FaultPlace(file, fault) << ": " << fault.text << '\n';
  }
  return history.faults.size();
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
  size_t problems = 0;
  if (result == STORE_E_PARSE) {
    // A fault without a line lies in an etcd area or in a source these extend.
    const std::string text = error.line > 0 ? error.text : FailureText(path);
    PrintFinding(file, Finding{error.line, error.column, text}, cluster);
    problems = 1;
  } else if (result != STORE_OK) {
    return ReportError(kExitUsage, file, FailureText(path));
  } else {
    std::vector<std::string> sources = SourcesOf(path);
    sources.insert(sources.begin(), file);
    for (const std::string& source : sources) {
      const int found = CheckSource(source);
      if (found < 0) return kExitUsage;
      problems += static_cast<size_t>(found);
    }
  }
  problems += CheckHistory(file, path);
  if (problems == 0) {
    std::cout << "no problems found\n";
    return kExitSuccess;
  }
  std::cout << problems << (problems == 1 ? " problem" : " problems") << " found\n";
  return kExitProblems;
}

}  // namespace dicomsettings_tool
