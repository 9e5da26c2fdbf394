// The subcommands that describe the tool and its vocabulary rather than read a
// settings file: the XML Schema of settings files and the shell completion.
// Both are generated from the library's key tables and the command line, so
// they never fall behind either.
#ifndef DICOMSETTINGS_TOOLS_DESCRIBECOMMANDS_H
#define DICOMSETTINGS_TOOLS_DESCRIBECOMMANDS_H

#include <CLI/CLI.hpp>
#include <string>

namespace dicomsettings_tool {

// Prints an XML Schema (1.0) of settings files: every area, list and value
// element the key tables name, in any order, each value typed by its kind.
int RunSchema();

// Prints a completion script for shell ("bash") that completes the
// subcommands and options of app, file names, area names and keys.
int RunCompletion(const CLI::App& app, const std::string& shell);

// When the first argument that is not an option names none of app's
// subcommands, reports it with the nearest subcommand as a hint and returns
// true (the caller exits with kExitUsage).
bool ReportUnknownCommand(const CLI::App& app, int argc, const char* const* argv);

}  // namespace dicomsettings_tool

#endif
