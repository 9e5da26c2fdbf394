// What show --json gives (typed values, every area, the reason for a value the
// file lacks), and init judged through it; the other runs of the tool are in
// runs.txt.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <nlohmann/json.hpp>

#include "ToolRunner.h"

namespace {

using nlohmann::json;

// The value item of key in a parsed `show --json` area, or null.
const json* FindValue(const json& level, const std::string& key) {
  for (const json& value : level["values"]) {
    if (value["key"] == key) return &value;
  }
  for (const json& list : level["lists"]) {
    for (const json& entry : list["entries"]) {
      if (const json* found = FindValue(entry, key)) return found;
    }
  }
  return nullptr;
}

TEST(ShowTest, JsonParsesBackWithTypedValuesAndEveryArea) {
  const ToolRun run = RunTool({"show", "--json", SamplePath()});
  ASSERT_EQ(run.status, 0) << run.err;
  const json document = json::parse(run.out);
  ASSERT_EQ(document["areas"].size(), 16u);
  std::map<std::string, json> areas;
  for (const json& area : document["areas"]) areas[area["area"]] = area;
  const json& mwm = areas.at("mwmscu");
  EXPECT_EQ((*FindValue(mwm, "/Mwmscu/Port"))["value"], 4100);
  EXPECT_EQ((*FindValue(mwm, "/Mwmscu/Timeout"))["value"], 30.0);
  EXPECT_EQ((*FindValue(mwm, "/Mwmscu/Timeout"))["kind"], "floating-point");
  EXPECT_EQ((*FindValue(areas.at("setup"), "/Service/Common/DebugLogout"))["value"], false);
  EXPECT_EQ((*FindValue(areas.at("setup"), "/Service/Common/UnConvertCharMulti"))["text"],
            "\xE3\x80\x93");
  const json& groups = areas.at("charconv")["lists"][0];
  EXPECT_EQ(groups["count"], 4);
  EXPECT_EQ(groups["capacity"], 50);
  EXPECT_EQ(groups["entries"][1]["lists"][0]["count"], 1);
  EXPECT_EQ(groups["entries"][1]["lists"][0]["entries"][0]["values"][1]["value"], 3);
}

TEST(ShowTest, JsonGivesNullAndTheReasonForAValueTheFileLacks) {
  TempDir dir;
  WriteTextFile(dir.File("s.xml"), SettingsXml("<EchoScu><TaskCount>2</TaskCount></EchoScu>"));
  const ToolRun run = RunTool({"show", "--json", dir.File("s.xml"), "echo"});
  ASSERT_EQ(run.status, 0) << run.err;
  const json area = json::parse(run.out)["areas"][0];
  EXPECT_EQ((*FindValue(area, "/EchoScu/TaskCount"))["value"], 2);
  const json& missing = *FindValue(area, "/EchoScu/ClientAeTitle");
  EXPECT_TRUE(missing["text"].is_null());
  EXPECT_EQ(missing["error"], "no setting under that key");
  EXPECT_EQ(area["lists"][0]["count"], 0);
}

// (What init writes and refuses is in runs.txt.)
TEST(InitTest, WritesEveryAreaAndKeepsTheFilesModeWhenForced) {
  TempDir dir;
  const std::string file = dir.File("fresh.xml");
  ASSERT_EQ(RunTool({"init", file}).status, 0);
  EXPECT_EQ(nlohmann::json::parse(RunTool({"show", "--json", file}).out)["areas"].size(), 16u);
  EXPECT_EQ(
      ReadTextFile(file).rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Settings>\n  <", 0),
      0u);
  chmod(file.c_str(), 0640);
  ASSERT_EQ(RunTool({"init", "--force", file}).status, 0);
  struct stat st;
  ASSERT_EQ(stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

}  // namespace
