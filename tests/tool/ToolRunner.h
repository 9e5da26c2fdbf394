// Runs the built dicom-settings as a process and collects its exit status,
// standard output and standard error; and the sample settings file's path.
#ifndef DICOMSETTINGS_TESTS_TOOLRUNNER_H
#define DICOMSETTINGS_TESTS_TOOLRUNNER_H

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "TempDir.h"

extern char** environ;

struct ToolRun {
  int status;  // the exit status, or -1 when the tool did not exit normally
  std::string out;
  std::string err;
};

inline const char* SamplePath() {
  return DICOMSETTINGS_SAMPLE;
}

inline ToolRun RunTool(const std::vector<std::string>& args) {
  TempDir capture;
  const std::string outPath = capture.File("out");
  const std::string errPath = capture.File("err");
  std::vector<std::string> words{DICOMSETTINGS_TOOL};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT, 0600);
  pid_t pid = 0;
  int status = 0;
  const bool started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  if (!started || waitpid(pid, &status, 0) != pid) return ToolRun{-1, "", "could not run"};
  return ToolRun{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadTextFile(outPath),
                 ReadTextFile(errPath)};
}

#endif
