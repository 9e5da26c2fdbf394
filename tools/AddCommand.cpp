// `add PATH LISTKEY [FIELD VALUE]...`: one new entry at the end of a list, with
// every value of the list's element written (empty unless given), in one save;
// prints the new entry's key.
#include <iostream>

#include "Commands.h"
#include "Diagnostics.h"
#include "KeyTarget.h"
#include "Nearest.h"
#include "SettingsFile.h"
#include "ValueKinds.h"
#include "WideText.h"

namespace dicomsettings_tool {
namespace {

// The text given for each value of element, by field; false with *why.
bool GivenTexts(const ElementSchema& element, const std::vector<std::string>& pairs,
                std::vector<std::wstring>* texts, std::string* why) {
  texts->assign(static_cast<size_t>(element.valueCount), std::wstring());
  std::vector<std::string> names;
  for (int v = 0; v < element.valueCount; ++v) names.push_back(ToUtf8(element.values[v].key + 1));
  for (size_t i = 0; i + 1 < pairs.size(); i += 2) {
    const std::string field = pairs[i][0] == '/' ? pairs[i].substr(1) : pairs[i];
    int found = -1;
    for (int v = 0; v < element.valueCount; ++v) found = names[v] == field ? v : found;
    std::wstring value;
    if (found < 0) {
      *why = pairs[i] + ": no such field of " + element.className + DidYouMean(field, names);
      return false;
    }
    std::string refused;
    if (!ToWide(pairs[i + 1], &value) ||
        !TextToStore(element.values[found].kind, value, &(*texts)[found], &refused)) {
      *why = pairs[i] + ": " + (refused.empty() ? "value is not UTF-8" : refused);
      return false;
    }
  }
  return true;
}

}  // namespace

int RunAdd(const std::string& file, const std::string& listKey,
           const std::vector<std::string>& pairs) {
  std::wstring wide;
  KeyTarget target;
  std::string why;
  if (pairs.size() % 2 != 0) {
    return ReportError(kExitUsage, file, pairs.back() + ": a FIELD without its VALUE");
  }
  if (!ToWide(listKey, &wide)) return ReportError(kExitUsage, file, "key is not UTF-8");
  if (!ResolveKey(wide, &target, &why)) return ReportError(kExitUsage, file, why);
  if (target.list == nullptr) return ReportError(kExitUsage, file, listKey + ": names no list");
  const ElementSchema& element = target.list->element();
  std::vector<std::wstring> texts;
  if (!GivenTexts(element, pairs, &texts, &why)) return ReportError(kExitUsage, file, why);
  SettingsFile settings(file);
  if (const int failed = OpenOrReport(settings)) return failed;
  const std::optional<ObjectLevel> area = settings.Level(*target.area);
  if (!area) return ReportError(kExitUsage, file, "cannot open its sections");
  if (!EntriesExist(*area, target, file, &why)) return ReportError(kExitUsage, file, why);
  const ObjectLevel level = LevelOf(*area, target);
  const int count = level.Count(*target.list);
  if (count >= target.list->capacity) {
    return ReportError(kExitUsage, file,
                       listKey + ": the list holds the " + std::to_string(count) +
                           " entries the library reads already");
  }
  const ObjectLevel entry = level.Entry(*target.list, count);
  for (int v = 0; v < element.valueCount; ++v) {
    const int result = entry.Proxy(element.values[v]).WriteText(texts[v].c_str());
    if (result != STORE_OK) {
      return ReportError(kExitUsage, file, AccessLibraryBaseCpp::ResultText(result));
    }
  }
  if (!settings.Save(&why)) return ReportError(kExitUsage, file, why);
  std::cout << ToUtf8(entry.NodeKey()) << '\n';
  return kExitSuccess;
}

}  // namespace dicomsettings_tool
