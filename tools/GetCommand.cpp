// `get FILE KEY` and `count FILE LISTKEY`: one value's text, one list's count.
#include <iostream>

#include "Commands.h"
#include "Diagnostics.h"
#include "KeyTarget.h"
#include "SettingsFile.h"
#include "WideText.h"

namespace dicomsettings_tool {
namespace {

// A key of a file: what it names, and the top level of its area's object.
struct KeyInFile {
  explicit KeyInFile(const std::string& file) : settings(file) {}
  SettingsFile settings;
  KeyTarget target;
  std::optional<ObjectLevel> area;
};

// Resolves key and opens the file and the key's area; on failure reports and
// gives the exit code, else 0.
int Prepare(const std::string& key, KeyInFile* found, bool entries = false) {
  const std::string& file = found->settings.Name();
  std::wstring wide;
  std::string why;
  if (!ToWide(key, &wide)) return ReportError(kExitUsage, file, "key is not UTF-8");
  if (!ResolveKey(wide, &found->target, &why, entries)) return ReportError(kExitUsage, file, why);
  if (const int failed = OpenOrReport(found->settings)) return failed;
  found->area = found->settings.Level(*found->target.area);
  return found->area ? kExitSuccess : ReportError(kExitUsage, file, "cannot open its sections");
}

}  // namespace

int RunGet(const std::string& file, const std::string& key, bool origin) {
  KeyInFile found(file);
  if (const int failed = Prepare(key, &found)) return failed;
  if (found.target.value == nullptr) {
    return ReportError(kExitUsage, file, key + ": names a list; count it with `count`");
  }
  wchar_t text[STORE_VALUE_BUFFER_LENGTH];
  const AccessLibraryBaseCpp::ProxyCore& value = ReachValue(*found.area, found.target);
  const int result = value.ReadText(text);
  if (result == STORE_E_NOT_FOUND) {
    return ReportError(kExitProblems, file, key + ": not in the file");
  }
  if (result != STORE_OK) {
    return ReportError(kExitProblems, file, key + ": " + AccessLibraryBaseCpp::ResultText(result));
  }
  std::cout << ToUtf8(text);
  if (origin) std::cout << '\t' << found.settings.Origin(value.GetKey());
  std::cout << '\n';
  return kExitSuccess;
}

int RunCount(const std::string& file, const std::string& listKey) {
  KeyInFile found(file);
  if (const int failed = Prepare(listKey, &found, true)) return failed;
  if (found.target.list == nullptr) {
    const std::string list = found.target.value == nullptr
                                 ? "; count its list: " + listKey.substr(0, listKey.rfind('['))
                                 : std::string();
    return ReportError(kExitUsage, file, listKey + ": names no list" + list);
  }
  std::cout << CountList(*found.area, found.target) << '\n';
  return kExitSuccess;
}

}  // namespace dicomsettings_tool
