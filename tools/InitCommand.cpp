// `init PATH [--force]`: new settings holding every area's keys with empty
// values and no list entry, written through the section objects into a tree the
// store starts empty (StoreCreate) and kept by the store's own save: a new file
// appears whole, settings under an etcd prefix in one transaction. With --force,
// settings kept there already are replaced (StoreCreateOver), and only when the
// store can read them: a path that cannot be reached is reported, never replaced.
// `init PATH --extends PARENT`: new settings holding nothing but the link to
// PARENT (StoreCreateChild), so that every value comes from there until set here.
#include "Commands.h"
#include "Diagnostics.h"
#include "SettingsFile.h"
#include "WideText.h"

namespace dicomsettings_tool {
namespace {

// Writes an empty value under every key of level; its lists get no entry (an
// entry without values would be counted all the same: `add` makes entries).
int WriteEmpty(const ObjectLevel& level) {
  for (int v = 0; v < level.valueCount; ++v) {
    const int result = level.Proxy(level.values[v]).WriteText(L"");
    if (result != STORE_OK) return result;
  }
  return STORE_OK;
}

// Fills the empty tree open at file with every area and saves it; false with *why.
bool FillAndSave(const std::string& file, std::string* why) {
  SettingsFile settings(file);
  if (!settings.Open(why)) return false;
  for (const SectionSchema* area : AllAreas()) {
    const std::optional<ObjectLevel> level = settings.Level(*area);
    const int result = level ? WriteEmpty(*level) : STORE_E_NOT_OPEN;
    if (result != STORE_OK) {
      *why = std::string(area->area) + ": " + AccessLibraryBaseCpp::ResultText(result);
      return false;
    }
  }
  return settings.Save(why);
}

}  // namespace

int RunInit(const std::string& file, bool force, const std::string& parent) {
  std::wstring path;
  if (!ToWide(file, &path) || path.empty())
    return ReportError(kExitUsage, file, "not a usable path");
  // Whether settings are kept there: a malformed file or area is settings too,
  // and a path that cannot be read is neither, so --force is no advice for it.
  StoreParseError kept;
  const int found = StoreCheckFile(path.c_str(), &kept);
  if (found != STORE_OK && found != STORE_E_PARSE && found != STORE_E_NO_FILE) {
    return ReportError(kExitUsage, file, FailureText(path));
  }
  const bool exists = found != STORE_E_NO_FILE;
  if (!parent.empty()) {
    std::wstring link;
    if (exists) return ReportError(kExitUsage, file, "settings kept there already");
    if (!ToWide(parent, &link)) return ReportError(kExitUsage, file, "PARENT is not UTF-8");
    const int created = StoreCreateChild(path.c_str(), link.c_str());
    const int saved = created == STORE_OK ? StoreSave(path.c_str()) : created;
    const std::string why = saved != STORE_OK ? FailureText(path) : std::string();
    if (created == STORE_OK) StoreClose(path.c_str(), 0);
    return saved == STORE_OK ? kExitSuccess : ReportError(kExitUsage, file, why);
  }
  if (exists && !force) {
    return ReportError(kExitUsage, file,
                       StorePathKind(path.c_str()) == STORE_KIND_ETCD
                           ? "settings kept there already; give --force to replace them"
                           : "file exists; give --force to replace it");
  }
  const int created = exists ? StoreCreateOver(path.c_str()) : StoreCreate(path.c_str());
  if (created != STORE_OK) return ReportError(kExitUsage, file, FailureText(path));
  std::string why;
  const bool done = FillAndSave(file, &why);
  StoreClose(path.c_str(), 0);
  return done ? kExitSuccess : ReportError(kExitUsage, file, why);
}

}  // namespace dicomsettings_tool
