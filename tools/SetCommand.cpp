// `set FILE KEY VALUE [KEY VALUE...]`: every pair is checked before anything is
// written, and all changes go to disk in one crash-safe save or not at all. An
// entry beyond a list's count is refused (`add` makes entries); an empty value
// clears a value of any kind.
#include "Commands.h"
#include "Diagnostics.h"
#include "KeyTarget.h"
#include "SettingsFile.h"
#include "ValueKinds.h"
#include "WideText.h"

namespace dicomsettings_tool {
namespace {

struct Change {
  std::string key;
  KeyTarget target;
  std::wstring text;
};

// The change one pair asks for; false with *why when it is refused.
bool MakeChange(const std::string& key, const std::string& value, Change* change,
                std::string* why) {
  std::wstring wideKey;
  std::wstring wideValue;
  change->key = key;
  if (!ToWide(key, &wideKey) || !ToWide(value, &wideValue)) {
    *why = key + ": key or value is not UTF-8";
    return false;
  }
  if (!ResolveKey(wideKey, &change->target, why)) return false;
  if (change->target.value == nullptr) {
    *why = key + ": names a list, not a value";
    return false;
  }
  std::string refused;
  if (!TextToStore(change->target.value->kind, wideValue, &change->text, &refused)) {
    *why = key + ": " + refused;
    return false;
  }
  return true;
}

}  // namespace

int RunSet(const std::string& file, const std::vector<std::string>& pairs) {
  if (pairs.size() % 2 != 0) {
    return ReportError(kExitUsage, file, pairs.back() + ": no VALUE given for this KEY");
  }
  std::vector<Change> changes(pairs.size() / 2);
  bool refused = false;
  for (size_t i = 0; i < changes.size(); ++i) {
    std::string why;
    if (!MakeChange(pairs[2 * i], pairs[2 * i + 1], &changes[i], &why)) {
      refused = true;
      ReportError(kExitUsage, file, why);
    }
  }
  if (refused) return ReportError(kExitUsage, file, "nothing changed");
  SettingsFile settings(file);
  if (const int failed = OpenOrReport(settings)) return failed;
  for (const Change& change : changes) {
    const std::optional<ObjectLevel> level = settings.Level(*change.target.area);
    std::string why;
    if (level && !EntriesExist(*level, change.target, file, &why)) {
      ReportError(kExitUsage, file, why);
      return ReportError(kExitUsage, file, "nothing changed");
    }
    const int result = level ? ReachValue(*level, change.target).WriteText(change.text.c_str())
                             : static_cast<int>(STORE_E_NOT_OPEN);
    if (result != STORE_OK) {
      ReportError(kExitUsage, file, change.key + ": " + FailureText(std::wstring(settings.Path())));
      return ReportError(kExitUsage, file, "nothing changed");
    }
  }
  std::string why;
  if (!settings.Save(&why)) {
    ReportError(kExitUsage, file, why);
    return ReportError(kExitUsage, file, "nothing changed");
  }
  return kExitSuccess;
}

}  // namespace dicomsettings_tool
