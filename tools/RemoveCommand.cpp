// `remove PATH KEY...`: removes values, list entries, whole lists and areas (by
// area name) in one save, or nothing when any key is refused or names nothing.
// Keys are resolved first against the library's tables; the store's keys they
// name are removed last entry first, so that every key names what it named in
// the settings as they were (a removal moves the later entries of a list up).
#include <algorithm>
#include <cwchar>

#include "Commands.h"
#include "Diagnostics.h"
#include "KeyTarget.h"
#include "SettingsFile.h"
#include "WideText.h"

namespace dicomsettings_tool {
namespace {

// One step of a store key: its name and index.
using Step = std::pair<std::wstring, long>;

std::vector<Step> Steps(const std::wstring& key) {
  std::vector<Step> steps;
  for (size_t at = 1; at <= key.size();) {
    size_t end = key.find(L'/', at);
    if (end == std::wstring::npos) end = key.size();
    const std::wstring step = key.substr(at, end - at);
    const size_t open = step.find(L'[');
    const long index = open == std::wstring::npos ? 0 : std::wcstol(&step[open + 1], nullptr, 10);
    steps.emplace_back(step.substr(0, open), index);
    at = end + 1;
  }
  return steps;
}

// Later in the document first: the higher index of one name before the lower.
bool RemovedBefore(const std::wstring& a, const std::wstring& b) {
  return Steps(a) > Steps(b);
}

// The store keys one command-line key names in settings; false with *why.
bool StoreKeys(SettingsFile& settings, const std::string& key, std::vector<std::wstring>* keys,
               std::string* why) {
  if (key.empty() || key[0] != '/') {
    // An area by name; an unknown one is answered with the nearest name.
    std::vector<const SectionSchema*> areas;
    if (!SelectAreas({key}, &areas, why)) return false;
    for (const SectionSchema* area : areas) keys->push_back(AreaKey(*area));
    return true;
  }
  std::wstring wide;
  KeyTarget target;
  if (!ToWide(key, &wide)) {
    *why = "key is not UTF-8";
    return false;
  }
  if (!ResolveKey(wide, &target, why, true)) return false;
  const std::optional<ObjectLevel> level = settings.Level(*target.area);
  if (!level) {
    *why = std::string("cannot open area ") + target.area->area;
    return false;
  }
  const std::wstring storeKey = StoreKeyOf(*level, target);
  if (target.list == nullptr) {
    keys->push_back(storeKey);
    return true;
  }
  // A whole list: every entry the store holds, beyond what the library reads too.
  int count = 0;
  StoreGetNodeCount(&count, settings.Path(), storeKey.c_str());
  for (int i = 0; i < count; ++i) keys->push_back(storeKey + L"[" + std::to_wstring(i) + L"]");
  if (count == 0) *why = key + ": the list holds no entry";
  return count > 0;
}

}  // namespace

int RunRemove(const std::string& file, const std::vector<std::string>& keys) {
  SettingsFile settings(file);
  if (const int failed = OpenOrReport(settings)) return failed;
  std::vector<std::wstring> removed;
  int status = kExitSuccess;
  for (const std::string& key : keys) {
    std::string why;
    if (!StoreKeys(settings, key, &removed, &why)) status = ReportError(kExitUsage, file, why);
  }
  std::sort(removed.begin(), removed.end(), RemovedBefore);
  removed.erase(std::unique(removed.begin(), removed.end()), removed.end());
  for (size_t i = 0; i < removed.size() && status == kExitSuccess; ++i) {
    const int result = StoreRemoveNode(settings.Path(), removed[i].c_str());
    if (result == STORE_E_NOT_FOUND) {
      status = ReportError(kExitProblems, file, ToUtf8(removed[i]) + ": names nothing there");
    } else if (result != STORE_OK) {
      status = ReportError(kExitUsage, file,
                           ToUtf8(removed[i]) + ": " + FailureText(std::wstring(settings.Path())));
    }
  }
  std::string why;
  if (status == kExitSuccess && !settings.Save(&why)) status = ReportError(kExitUsage, file, why);
  if (status != kExitSuccess) ReportError(status, file, "nothing changed");
  return status;
}

}  // namespace dicomsettings_tool
