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
  ForEachFileTableLine(DICOMSETTINGS_RUNS, dir, names, [&](const FileTableLine& row) {
    const std::string text = Bytes(Expand(row.rest, names));
    if (row.verb == "run") {
      std::vector<std::string> args;
      for (const std::wstring& word : Words(row.rest, names)) args.push_back(Bytes(word));
      run = RunTool(args);
    } else if (row.verb == "copy") {
      WriteTextFile(row.file, ReadTextFile(SamplePath()));
    } else if (row.verb == "plant") {
      const size_t arrow = row.body.find(" => ");
      const std::string from = Bytes(Expand(row.body.substr(0, arrow), names));
      const std::string to = Bytes(Expand(row.body.substr(arrow + 4), names));
      std::string sample = ReadTextFile(SamplePath());
      ASSERT_NE(sample.find(from), std::string::npos) << "not in the sample";
      for (size_t at = sample.find(from); at != std::string::npos;
           at = sample.find(from, at + to.size())) {
        sample.replace(at, from.size(), to);
      }
      WriteTextFile(row.file, sample);
    } else if (row.verb == "output") {
      WriteTextFile(row.file, run.out);
    } else if (row.verb == "status") {
      EXPECT_EQ(run.status, std::stoi(row.rest)) << run.err;
    } else if (row.verb == "out") {
      EXPECT_EQ(run.out, text);
    } else if (row.verb == "has") {
      EXPECT_NE(run.out.find(text), std::string::npos) << run.out;
    } else if (row.verb == "lacks") {
      EXPECT_EQ((run.out + run.err).find(text), std::string::npos) << run.out << run.err;
    } else if (row.verb == "json") {
      EXPECT_EQ(nlohmann::json::parse(run.out)["areas"].size(), std::stoul(row.rest));
    } else if (row.verb == "fields") {
      const nlohmann::ordered_json items = nlohmann::ordered_json::parse(run.out);
      EXPECT_FALSE(items.empty());
      for (const auto& item : items) {
        std::string names;
        for (const auto& field : item.items()) names += (names.empty() ? "" : " ") + field.key();
        EXPECT_EQ(names, row.rest);
      }
    } else if (row.verb == "err") {
      EXPECT_NE(run.err.find(text), std::string::npos) << run.err;
    } else {
      ADD_FAILURE() << "unknown line";
    }
  });
}

}  // namespace
