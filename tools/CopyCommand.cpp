// `copy SRC DST AREA... [--exact]`: section assignment from SRC's objects to
// DST's, one save of DST, then a comparison: section assignment copies only the
// values SRC holds, so settings DST has and SRC lacks stay, and are reported.
// With --exact they are removed in the same save: list entries beyond SRC's
// count, last first, and values SRC does not hold.
#include "AreaDiff.h"
#include "Commands.h"
#include "Diagnostics.h"
#include "WideText.h"

namespace dicomsettings_tool {
namespace {

// Removes from to what from lacks, level by level: STORE_OK or the first failure.
int RemoveExtras(const ObjectLevel& from, const ObjectLevel& to, const wchar_t* path) {
  wchar_t text[STORE_VALUE_BUFFER_LENGTH];
  for (int v = 0; v < to.valueCount; ++v) {
    const AccessLibraryBaseCpp::ProxyCore& kept = to.Proxy(to.values[v]);
    if (from.Proxy(from.values[v]).ReadText(text) != STORE_E_NOT_FOUND) continue;
    if (kept.ReadText(text) != STORE_OK) continue;
    const int result = StoreRemoveNode(path, kept.GetKey().c_str());
    if (result != STORE_OK) return result;
  }
  for (int l = 0; l < to.listCount; ++l) {
    const ListField& list = to.lists[l];
    const int wanted = from.Count(list);
    for (int i = to.Count(list) - 1; i >= wanted; --i) {
      const int result = StoreRemoveNode(path, to.Entry(list, i).NodeKey().c_str());
      if (result != STORE_OK) return result;
    }
    for (int i = 0; i < wanted; ++i) {
      const int result = RemoveExtras(from.Entry(list, i), to.Entry(list, i), path);
      if (result != STORE_OK) return result;
    }
  }
  return STORE_OK;
}

}  // namespace

int RunCopy(const std::string& source, const std::string& target,
            const std::vector<std::string>& areas, bool exact) {
  std::vector<const SectionSchema*> selected;
  std::string why;
  if (areas.empty()) return ReportError(kExitUsage, target, "name the areas to copy");
  if (!SelectAreas(areas, &selected, &why)) return ReportError(kExitUsage, target, why);
  SettingsFile from(source);
  SettingsFile to(target);
  if (const int failed = OpenOrReport(from)) return failed;
  if (const int failed = OpenOrReport(to)) return failed;
  for (const SectionSchema* area : selected) {
    CAccessLibraryBaseCpp* fromSection = from.Section(*area);
    CAccessLibraryBaseCpp* toSection = to.Section(*area);
    if (fromSection == nullptr || toSection == nullptr) {
      return ReportError(kExitUsage, target, std::string("cannot open area ") + area->area);
    }
    area->assign(*toSection, *fromSection);
    const int result = exact ? RemoveExtras(*from.Level(*area), *to.Level(*area), to.Path())
                             : static_cast<int>(STORE_OK);
    if (result != STORE_OK) {
      return ReportError(
          kExitUsage, target,
          "removing what " + source + " lacks: " + FailureText(std::wstring(to.Path())));
    }
  }
  if (!to.Save(&why)) return ReportError(kExitUsage, target, why);

  std::vector<Difference> left;
  if (!CompareFiles(from, to, selected, &left, &why)) return ReportError(kExitUsage, target, why);
  for (const Difference& difference : left) {
    ReportError(
        kExitProblems, target,
        ToUtf8(difference.key) + (difference.first ? ": differs from " + source
                                                   : ": kept; " + source + " has no such setting"));
  }
  return left.empty() ? kExitSuccess : kExitProblems;
}

}  // namespace dicomsettings_tool
