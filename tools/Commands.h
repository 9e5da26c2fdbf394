// The subcommands of dicom-settings. Each returns the process's exit code
// (Diagnostics.h) and reports its own errors.
#ifndef DICOMSETTINGS_TOOLS_COMMANDS_H
#define DICOMSETTINGS_TOOLS_COMMANDS_H

#include <string>
#include <vector>

namespace dicomsettings_tool {

// Prints the named areas (all when none) as text, or as JSON.
int RunShow(const std::string& file, const std::vector<std::string>& areas, bool json);

// Prints the stored text of one value; 1 when the file does not hold it.
int RunGet(const std::string& file, const std::string& key);

// Prints the library's count of one list.
int RunCount(const std::string& file, const std::string& listKey);

// Sets KEY VALUE pairs and saves them in one save, or changes nothing when any
// pair is refused.
int RunSet(const std::string& file, const std::vector<std::string>& pairs);

// Copies the named areas from source into target by section assignment and
// saves target; 1 when target still differs from source in those areas.
int RunCopy(const std::string& source, const std::string& target,
            const std::vector<std::string>& areas);

// Prints the keys whose values differ between two files; 1 when any do.
int RunDiff(const std::string& first, const std::string& second,
            const std::vector<std::string>& areas);

// Prints the problems of a file; 1 when it found any.
int RunCheck(const std::string& file);

// Writes a new file holding every area's keys with empty values.
int RunInit(const std::string& file, bool force);

}  // namespace dicomsettings_tool

#endif
