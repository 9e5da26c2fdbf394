// dicom-settings: reads, checks and changes DICOM settings files through the
// settings access library. This file holds the command line only; each
// subcommand lives in its own file (Commands.h).
#include <CLI/CLI.hpp>
#include <cstdlib>
#include <iostream>

#include "Commands.h"
#include "DescribeCommands.h"
#include "Diagnostics.h"
#include "ValueKinds.h"
#include "Vocabulary.h"
#include "WideText.h"

namespace {

using namespace dicomsettings_tool;

const char* const kFooter =
    "Exit status: 0 success; 1 problems found, files differ, or a value is missing; 2 a "
    "refused command line, or a file that cannot be read or written.";

struct Arguments {
  std::string file;
  std::string second;
  std::string key;
  std::vector<std::string> rest;
  std::string extends;
  std::string reason;
  long long record = 0;
  long changes = 0;
  bool json = false;
  bool force = false;
  bool origin = false;
  bool own = false;
  bool exact = false;
};

CLI::App* AddCommand(CLI::App& app, const char* name, const char* description) {
  CLI::App* command = app.add_subcommand(name, description);
  command->footer(kFooter);
  return command;
}

std::string AreasHelp(const char* what) {
  return std::string(what) + ": " + AreaNameList();
}

// What every PATH argument may be.
std::string PathHelp(const char* what) {
  return std::string(what) + ": a settings file, or etcd://HOST:PORT[,HOST:PORT...]/PREFIX";
}

// What is wrong with text as the reason recorded with a save; empty when nothing.
std::string ReasonProblem(const std::string& text) {
  std::wstring wide;
  std::wstring stored;
  std::string why;
  if (text.empty()) return "an empty reason; leave --reason out to record none";
  if (!ToWide(text, &wide)) return "the reason is not UTF-8";
  return TextToStore(ValueKind::String, wide, &stored, &why) ? std::string() : why;
}

// The --reason option of a command that saves.
void AddReason(CLI::App* command, std::string& reason) {
  command
      ->add_option("--reason", reason,
                   "Why the change is made, recorded with the save in the change history "
                   "(not empty; without it, DICOMSETTINGS_CHANGE_REASON when set)")
      ->option_text("TEXT")
      ->check(ReasonProblem);
}

// A positional argument, shown in --help by its name alone.
template <class T>
CLI::Option* Positional(CLI::App* command, const char* name, T& target, const std::string& help) {
  return command->add_option(name, target, help)->type_name("");
}

}  // namespace

int main(int argc, char** argv) {
  UseUtf8Text();
  CLI::App app("Reads, checks and changes DICOM settings files through the DicomSettings library.",
               "dicom-settings");
  app.require_subcommand(1);
  app.footer(kFooter);
  app.set_version_flag("--version", "dicom-settings " DICOMSETTINGS_VERSION,
                       "Print the version and exit");
  Arguments args;

  CLI::App* show = AddCommand(app, "show", "Print every value of the areas, with its kind");
  Positional(show, "FILE", args.file, PathHelp("Settings"))->required();
  Positional(show, "AREA", args.rest, AreasHelp("Areas to print (default: all)"));
  show->add_flag("--json", args.json, "Print JSON instead of text");
  show->add_flag("--origin", args.origin, "Name beside each value the source that holds it");

  CLI::App* get = AddCommand(app, "get", "Print the stored text of one value");
  Positional(get, "FILE", args.file, PathHelp("Settings"))->required();
  Positional(get, "KEY", args.key, "Key of the value, e.g. /EchoScu/TaskCount")->required();
  get->add_flag("--origin", args.origin, "Print a tab and the source that holds the value");

  CLI::App* count = AddCommand(app, "count", "Print how many entries of a list the library reads");
  Positional(count, "FILE", args.file, PathHelp("Settings"))->required();
  Positional(count, "LISTKEY", args.key, "Key of the list, e.g. /StorageScu/Syntax")->required();

  CLI::App* set =
      AddCommand(app, "set", "Set values and save them together, or none if any is refused");
  Positional(set, "FILE", args.file, PathHelp("Settings"))->required();
  Positional(set, "KEY VALUE", args.rest, "Keys and their new values, in pairs")->required();
  AddReason(set, args.reason);

  CLI::App* add = AddCommand(app, "add", "Append one entry to a list and save it");
  Positional(add, "FILE", args.file, PathHelp("Settings"))->required();
  Positional(add, "LISTKEY", args.key, "Key of the list, e.g. /DicomClientSetting/DicomClient")
      ->required();
  Positional(add, "FIELD VALUE", args.rest, "Values of the new entry, in pairs (others empty)");
  AddReason(add, args.reason);

  CLI::App* remove = AddCommand(
      app, "remove", "Remove values, list entries, whole lists or areas, all in one save");
  Positional(remove, "FILE", args.file, PathHelp("Settings"))->required();
  Positional(remove, "KEY", args.rest,
             "Keys of values, entries (/DicomClientSetting/DicomClient[3]) or lists, "
             "or area names")
      ->required();
  AddReason(remove, args.reason);

  CLI::App* copy = AddCommand(app, "copy", "Copy areas from one file into another and save it");
  Positional(copy, "SRC", args.file, PathHelp("Settings to copy from"))->required();
  Positional(copy, "DST", args.second, PathHelp("Settings to copy into (they must exist)"))
      ->required();
  Positional(copy, "AREA", args.rest, AreasHelp("Areas to copy (\"all\": every area)"))->required();
  copy->add_flag("--exact", args.exact,
                 "Make the areas of DST hold exactly what SRC holds: remove the rest");
  AddReason(copy, args.reason);

  CLI::App* diff = AddCommand(app, "diff", "Print the keys whose values differ between two files");
  Positional(diff, "FILE1", args.file,
             PathHelp("First settings") + "; or FILE@ID: FILE just after record ID of its history")
      ->required();
  Positional(diff, "FILE2", args.second, PathHelp("Second settings"))->required();
  Positional(diff, "AREA", args.rest, AreasHelp("Areas to compare (default: all)"));
  diff->add_flag("--own", args.own,
                 "List what FILE1 holds itself, beside FILE2's values (FILE1 extending FILE2)");

  CLI::App* check =
      AddCommand(app, "check", "Report unknown elements, bad values and unreachable entries");
  Positional(check, "FILE", args.file, PathHelp("Settings"))->required();

  CLI::App* init =
      AddCommand(app, "init", "Write a new file with every area's keys and empty values");
  Positional(init, "FILE", args.file, PathHelp("Settings to write"))->required();
  init->add_flag("--force", args.force, "Replace an existing file");
  init->add_option("--extends", args.extends,
                   "Make settings that hold nothing but a link to PARENT, a file (relative to "
                   "FILE's folder) or etcd path, and take every value from there")
      ->option_text("PARENT")
      ->excludes("--force");
  AddReason(init, args.reason);

  CLI::App* resolve =
      AddCommand(app, "resolve", "Print the settings a chain of sources resolves to, as one file");
  Positional(resolve, "FILE", args.file, PathHelp("Settings"))->required();

  CLI::App* convert =
      AddCommand(app, "convert", "Rewrite a settings file in another encoding, in one save");
  Positional(convert, "FILE", args.file, "Settings file (one kept in a legacy encoding)")
      ->required();
  convert->add_option("--to", args.key, "The encoding to write it in, e.g. utf-8")
      ->option_text("ENCODING")
      ->required();
  AddReason(convert, args.reason);

  CLI::App* history =
      AddCommand(app, "history", "Print the change history of settings, newest change first");
  Positional(history, "FILE", args.file, PathHelp("Settings"))->required();
  Positional(history, "KEY", args.rest,
             "Print only the changes of these keys and of what lies under them "
             "(/EchoScu, /DicomClientSetting/DicomClient[2])");
  history->add_flag("--json", args.json, "Print JSON instead of text");

  CLI::App* watch = AddCommand(
      app, "watch", "Print each value others change, as they change it, until interrupted");
  Positional(watch, "FILE", args.file, PathHelp("Settings"))->required();
  Positional(watch, "KEY", args.rest,
             "Keys of values, lists or areas to watch (default: every value)");
  watch->add_flag("--json", args.json, "Print one JSON object a change");
  watch->add_option("--count", args.changes, "Stop after N changes were printed")
      ->option_text("N")
      ->check(CLI::PositiveNumber);

  CLI::App* rollback = AddCommand(
      app, "rollback", "Put back every value changed after a record of the history, in one save");
  Positional(rollback, "FILE", args.file, PathHelp("Settings"))->required();
  rollback->add_option("--to", args.record, "The record to go back to, as `history` numbers it")
      ->option_text("ID")
      ->required();
  AddReason(rollback, args.reason);

  CLI::App* areas =
      AddCommand(app, "areas", "List the settings areas: name, element, class, what each holds");

  CLI::App* schema = AddCommand(app, "schema", "Print the XML Schema of settings files");

  CLI::App* completion = AddCommand(app, "completion", "Print a shell completion script");
  Positional(completion, "SHELL", args.key, "Shell to complete for")
      ->required()
      ->check(CLI::IsMember({"bash"}));

  if (ReportUnknownCommand(app, argc, argv)) return kExitUsage;

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) return app.exit(e);
    ReportError(kExitUsage, "", e.what());
    std::cerr << "Run with --help for more information.\n";
    return kExitUsage;
  }

  // The store records the reason of every save this process makes.
  if (!args.reason.empty()) setenv("DICOMSETTINGS_CHANGE_REASON", args.reason.c_str(), 1);
  if (*show) return RunShow(args.file, args.rest, args.json, args.origin);
  if (*get) return RunGet(args.file, args.key, args.origin);
  if (*count) return RunCount(args.file, args.key);
  if (*set) return RunSet(args.file, args.rest);
  if (*add) return RunAdd(args.file, args.key, args.rest);
  if (*remove) return RunRemove(args.file, args.rest);
  if (*copy) return RunCopy(args.file, args.second, args.rest, args.exact);
  if (*diff) return RunDiff(args.file, args.second, args.rest, args.own);
  if (*resolve) return RunResolve(args.file);
  if (*check) return RunCheck(args.file);
  if (*completion) return RunCompletion(app, args.key);
  if (*schema) return RunSchema();
  if (*areas) return RunAreas();
  if (*convert) return RunConvert(args.file, args.key);
  if (*history) return RunHistory(args.file, args.rest, args.json);
  if (*watch) return RunWatch(args.file, args.rest, args.json, args.changes);
  if (*rollback) return RunRollback(args.file, args.record, args.reason);
  return RunInit(args.file, args.force, args.extends);
}
