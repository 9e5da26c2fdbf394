// Runs the tool as runs.txt says, one run after another in one temporary
// directory, and compares what each run gives; runs.txt's opening comment tells
// its lines.
#include <gtest/gtest.h>

#include <fstream>
#include <iomanip>
#include <sstream>

#include "ToolRunner.h"

namespace {

// text with \n, \a, {sample}, {dir} and {CxN} (the character C, N times) expanded.
std::string Expand(const std::string& text, const TempDir& dir) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      const char c = text[++i];
      out += c == 'n' ? '\n' : c == 'a' ? '\a' : c;
    } else if (text[i] == '{' && text.find('}', i) != std::string::npos) {
      const size_t end = text.find('}', i);
      const std::string name = text.substr(i + 1, end - i - 1);
      out += name == "sample" ? SamplePath()
             : name == "dir"  ? dir.path()
                              : std::string(std::stoul(name.substr(2)), name[0]);
      i = end;
    } else {
      out += text[i];
    }
  }
  return out;
}

// The words of text, split at spaces; a word in double quotes is kept whole.
std::vector<std::string> Words(const std::string& text, const TempDir& dir) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string word; in >> std::quoted(word, '"', '\x01');) words.push_back(Expand(word, dir));
  return words;
}

TEST(ToolRuns, EveryRunGivesWhatRunsTxtSays) {
  std::ifstream in(DICOMSETTINGS_RUNS);
  ASSERT_TRUE(in.is_open()) << DICOMSETTINGS_RUNS;
  TempDir dir;
  ToolRun run{-1, "", ""};
  std::string command, kept;
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    const size_t space = std::min(line.find(' '), line.size());
    const std::string verb = line.substr(0, space);
    const std::string rest = line.substr(std::min(space + 1, line.size()));
    const std::string name = dir.File(rest.substr(0, rest.find(' ')));
    const std::string body =
        Expand(rest.substr(std::min(rest.find(' '), rest.size() - 1) + 1), dir);
    SCOPED_TRACE("runs.txt:" + std::to_string(number) + ": after run " + command);
    if (verb == "run") {
      command = rest;
      run = RunTool(Words(rest, dir));
    } else if (verb == "file") {
      WriteTextFile(name, SettingsXml(body));
    } else if (verb == "raw") {
      WriteTextFile(name, body);
    } else if (verb == "copy") {
      WriteTextFile(name, ReadTextFile(SamplePath()));
    } else if (verb == "keep") {
      kept = ReadTextFile(name);
    } else if (verb == "unchanged") {
      EXPECT_EQ(ReadTextFile(name), kept);
    } else if (verb == "status") {
      EXPECT_EQ(run.status, std::stoi(rest)) << run.err;
    } else if (verb == "out") {
      EXPECT_EQ(run.out, Expand(rest, dir));
    } else if (verb == "has") {
      EXPECT_NE(run.out.find(Expand(rest, dir)), std::string::npos) << run.out;
    } else if (verb == "lacks") {
      EXPECT_EQ(run.out.find(Expand(rest, dir)), std::string::npos) << run.out;
    } else if (verb == "err") {
      EXPECT_NE(run.err.find(Expand(rest, dir)), std::string::npos) << run.err;
    } else {
      ADD_FAILURE() << "unknown line";
    }
  }
  EXPECT_GT(number, 100);
}

}  // namespace
