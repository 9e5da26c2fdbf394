// Runs the tool as runs.txt says, one run after another in one temporary
// directory, and compares what each run gives; runs.txt's opening comment tells
// its lines.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "TextTable.h"
#include "ToolRunner.h"

namespace {

TEST(ToolRuns, EveryRunGivesWhatRunsTxtSays) {
  TempDir dir;
  const TextNames names = {{"dir", dir.path()}, {"sample", SamplePath()}};
  ToolRun run{-1, "", ""};
  std::string kept;
  ForEachLine(DICOMSETTINGS_RUNS, [&](const std::string& line) {
    const auto [verb, rest] = SplitFirst(line);
    const auto [name, body] = SplitFirst(rest);
    const std::string file = dir.File(name);
    const std::string text = Bytes(Expand(rest, names));
    if (FileLine(verb, file, Bytes(Expand(body, names)), kept)) return;
    if (verb == "run") {
      std::vector<std::string> args;
      for (const std::wstring& word : Words(rest, names)) args.push_back(Bytes(word));
      run = RunTool(args);
    } else if (verb == "copy") {
      WriteTextFile(file, ReadTextFile(SamplePath()));
    } else if (verb == "plant") {
      const size_t arrow = body.find(" => ");
      const std::string from = Bytes(Expand(body.substr(0, arrow), names));
      const std::string to = Bytes(Expand(body.substr(arrow + 4), names));
      std::string sample = ReadTextFile(SamplePath());
      ASSERT_NE(sample.find(from), std::string::npos) << "not in the sample";
      for (size_t at = sample.find(from); at != std::string::npos;
           at = sample.find(from, at + to.size())) {
        sample.replace(at, from.size(), to);
      }
      WriteTextFile(file, sample);
    } else if (verb == "status") {
      EXPECT_EQ(run.status, std::stoi(rest)) << run.err;
    } else if (verb == "out") {
      EXPECT_EQ(run.out, text);
    } else if (verb == "has") {
      EXPECT_NE(run.out.find(text), std::string::npos) << run.out;
    } else if (verb == "lacks") {
      EXPECT_EQ(run.out.find(text), std::string::npos) << run.out;
    } else if (verb == "json") {
      EXPECT_EQ(nlohmann::json::parse(run.out)["areas"].size(), std::stoul(rest));
    } else if (verb == "err") {
      EXPECT_NE(run.err.find(text), std::string::npos) << run.err;
    } else {
      ADD_FAILURE() << "unknown line";
    }
  });
}

}  // namespace
