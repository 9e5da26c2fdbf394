// The subcommands of dicom-settings. Each returns the process's exit code
// (Diagnostics.h) and reports its own errors.
#ifndef DICOMSETTINGS_TOOLS_COMMANDS_H
#define DICOMSETTINGS_TOOLS_COMMANDS_H

#include <string>
#include <vector>

namespace dicomsettings_tool {

// Prints the named areas (all when none) as text, or as JSON; with origin, each
// value with the source that holds it.
int RunShow(const std::string& file, const std::vector<std::string>& areas, bool json, bool origin);

// Prints the stored text of one value (with origin, a tab and the source that
// holds it); 1 when the settings do not hold it.
int RunGet(const std::string& file, const std::string& key, bool origin);

// Prints the library's count of one list.
int RunCount(const std::string& file, const std::string& listKey);

// Sets KEY VALUE pairs and saves them in one save, or changes nothing when any
// pair is refused.
int RunSet(const std::string& file, const std::vector<std::string>& pairs);

// Appends one entry to a list, every value of its element written (those given
// in FIELD VALUE pairs, the others empty), in one save; prints its key.
int RunAdd(const std::string& file, const std::string& listKey,
           const std::vector<std::string>& pairs);

// Removes what each key names (a value, a list entry, a whole list, or an area
// by name) in one save; 1, nothing changed, when a key names nothing there.
int RunRemove(const std::string& file, const std::vector<std::string>& keys);

// Copies the named areas from source into target by section assignment and
// saves target; with exact, what target holds and source lacks in those areas is
// removed in the same save. 1 when target still differs from source there.
int RunCopy(const std::string& source, const std::string& target,
            const std::vector<std::string>& areas, bool exact);

// Prints the keys whose values differ between two files, or with own the values
// first holds itself (not from a source it extends) beside second's; 1 when any.
int RunDiff(const std::string& first, const std::string& second,
            const std::vector<std::string>& areas, bool own);

// Prints the problems of a file; 1 when it found any.
int RunCheck(const std::string& file);

// Rewrites a settings file in the named encoding ("utf-8") in one save.
int RunConvert(const std::string& file, const std::string& encoding);

// Prints each area: its name, element key, class and what it holds.
int RunAreas();

// Writes new settings holding every area's keys with empty values, or, with a
// parent, new settings that extend parent and hold nothing of their own.
int RunInit(const std::string& file, bool force, const std::string& parent);

// Writes the settings of file and every source it extends, resolved, as one
// settings file on standard output.
int RunResolve(const std::string& file);

// Prints the change history kept with file, newest first, as text or JSON;
// with keys, only the changes of what they name. 1 when the history is damaged
// (its faults on standard error, after what could be read).
int RunHistory(const std::string& file, const std::vector<std::string>& keys, bool asJson);

// Prints each value others change (with keys, of those named) as it changes,
// until a stopping signal or, with count above 0, count lines.
int RunWatch(const std::string& file, const std::vector<std::string>& keys, bool json, long count);

// Puts back every value changed after record id as it was just after it, in
// one save recorded with "rollback to record ID" and reason; prints each key
// that changes, or that there is nothing to roll back (no save).
int RunRollback(const std::string& file, long long id, const std::string& reason);

}  // namespace dicomsettings_tool

#endif
