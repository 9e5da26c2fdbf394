// The change history kept with settings, as the store gives it
// (StoreReadHistory): records newest first, and the faults of a damaged history.
#ifndef DICOMSETTINGS_TOOLS_CHANGEHISTORY_H
#define DICOMSETTINGS_TOOLS_CHANGEHISTORY_H

#include <optional>
#include <string>
#include <vector>

namespace dicomsettings_tool {

struct KeyChange {
  std::string key;                    // "/L/E[1]/X": "[i]" from the second same-named sibling on
  std::optional<std::string> before;  // none for a key the save created
  std::optional<std::string> after;   // none for a key the save removed
};

struct ChangeRecord {
  long long id = 0;
  std::string time, user, host, program;
  long long uid = -1, pid = -1;
  std::optional<std::string> reason;
  std::vector<KeyChange> changes;
  bool saved = true;     // false: the process stopped before the settings were put in place
  bool outside = false;  // the settings were changed by other means after this record
};

struct HistoryFault {
  long long line = 0;
  std::string text;
};

struct History {
  std::vector<ChangeRecord> records;  // newest first
  std::vector<HistoryFault> faults;
};

// Reads the history kept with the settings at path (open or not); false with
// *why when the store cannot give it or gives text of another shape.
bool ReadHistory(const std::wstring& path, History* history, std::string* why);

// Where a fault of the history of the settings name lies: "NAME.history:LINE"
// for a file, the name alone for settings kept in a cluster.
std::string FaultPlace(const std::string& name, const HistoryFault& fault);

// "KEY: OLD -> NEW", a value on one line, "(none)" where there is none and
// "(empty)" for an empty text.
std::string ChangeLine(const std::string& key, const std::optional<std::string>& before,
                       const std::optional<std::string>& after);

}  // namespace dicomsettings_tool

#endif
