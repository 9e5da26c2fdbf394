// show, get and count on the sample file and on small planted files, and the
// errors every command reports the same way.
#include <gtest/gtest.h>

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

TEST(ShowTest, TextShowsKindsAndNestsListsUnderTheirEntry) {
  const ToolRun run = RunTool({"show", SamplePath(), "echo", "storage"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("echo (CEchoScuSetting)\n  /EchoScu/TaskCount (integer) = 1\n"),
            std::string::npos);
  EXPECT_NE(run.out.find("\n  /StorageScu/Syntax: 4 of at most 4\n"
                         "    /StorageScu/Syntax[0]/AbstractSyntax (string) = "
                         "1.2.840.10008.5.1.4.1.1.2\n"
                         "    /StorageScu/Syntax[0]/TransferSyntax: 4 of at most 4\n"
                         "      /StorageScu/Syntax[0]/TransferSyntax[0]/SyntaxValue (string) = "
                         "1.2.840.10008.1.2.4.70\n"),
            std::string::npos)
      << run.out;
  EXPECT_EQ(run.out.find("mwmscu"), std::string::npos) << "only the named areas";
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

TEST(GetCountTest, ReadValuesAndCountsThroughTheSections) {
  TempDir dir;
  std::string syntaxes;
  for (int i = 0; i < 6; ++i)
    syntaxes += "<Syntax><AbstractSyntax>1." + std::to_string(i) + "</AbstractSyntax></Syntax>";
  WriteTextFile(dir.File("s.xml"), SettingsXml("<StorageScu>" + syntaxes + "</StorageScu>"));
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out;
  } cases[] = {
      {{"get", SamplePath(), "/Mwmscu/Port"}, 0, "4100\n"},
      {{"get", SamplePath(), "/DicomClientSetting/DicomClient[2]/ServerAe"}, 0, "PACS_ARCHIVE\n"},
      {{"count", SamplePath(), "/StorageScu/Syntax[1]/TransferSyntax"}, 0, "3\n"},
      {{"count", SamplePath(), "/DicomErrorSetting/DicomError"}, 0, "7\n"},
      {{"count", dir.File("s.xml"), "/StorageScu/Syntax"}, 0, "4\n"},
      {{"get", dir.File("s.xml"), "/StorageScu/Syntax[3]/AbstractSyntax"}, 0, "1.3\n"},
      {{"get", dir.File("s.xml"), "/StorageScu/TaskCount"}, 1, ""},
  };
  for (const Case& c : cases) {
    const ToolRun run = RunTool(c.args);
    EXPECT_EQ(run.status, c.status) << c.args[2] << ": " << run.err;
    EXPECT_EQ(run.out, c.out) << c.args[2];
  }
}

TEST(ErrorTest, EveryErrorHasItsExitCodeAndNamesTheFile) {
  TempDir dir;
  const std::string bad = dir.File("bad.xml");
  WriteTextFile(bad, "<?xml version=\"1.0\"?>\n<Settings>\n  <EchoScu>\n  </Echo>\n</Settings>\n");
  const std::string missing = dir.File("missing.xml");
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string err;
  } cases[] = {
      {{"show", missing}, 2, "dicom-settings: " + missing + ": no such file\n"},
      {{"get", bad, "/EchoScu/TaskCount"}, 2, "dicom-settings: " + bad + ": line 4, column 5: "},
      {{"show", SamplePath(), "eco"}, 2, "unknown area \"eco\" (did you mean \"echo\"?)"},
      {{"diff", SamplePath(), SamplePath(), "nosuch"}, 2, "unknown area \"nosuch\""},
      {{"get", SamplePath(), "/Mwmscu/Prot"}, 2, "(did you mean \"/Mwmscu/Port\"?)"},
      {{"get", SamplePath(), "/StorageScu/Syntax[4]/AbstractSyntax"}, 2, "beyond the 4 entries"},
      {{"get", SamplePath(), "/StorageScu/Syntax"}, 2, "names a list"},
      {{"count", SamplePath(), "/Mwmscu/Port"}, 2, "names no list"},
      {{"show", std::string(300, 'a')}, 2, "path longer than 259 characters"},
      {{}, 2, "dicom-settings: A subcommand is required"},
      {{"get", SamplePath()}, 2, "KEY is required"},
  };
  for (const Case& c : cases) {
    const ToolRun run = RunTool(c.args);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
}

TEST(ErrorTest, HelpSucceeds) {
  const ToolRun run = RunTool({"set", "--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("Exit status: 0 success"), std::string::npos);
}

}  // namespace
