// Names a mistyped subcommand, with a hint, before the parser would refuse it
// with a message that does not say which word was wrong.
#include "DescribeCommands.h"
#include "Diagnostics.h"
#include "Nearest.h"

namespace dicomsettings_tool {

bool ReportUnknownCommand(const CLI::App& app, int argc, const char* const* argv) {
  const char* word = nullptr;
  for (int i = 1; i < argc && word == nullptr; ++i) {
    if (argv[i][0] != '-') word = argv[i];
  }
  if (word == nullptr) return false;
  std::vector<std::string> names;
  std::string list;
  for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; })) {
    if (command->get_name() == word) return false;
    names.push_back(command->get_name());
    list += (list.empty() ? "" : ", ") + command->get_name();
  }
  ReportError(kExitUsage, "",
              "unknown command \"" + std::string(word) + "\"" + DidYouMean(word, names) +
                  "; the commands are " + list);
  return true;
}

}  // namespace dicomsettings_tool
