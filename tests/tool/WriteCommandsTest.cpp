// set, copy and init: what reaches the file, and that refused input changes nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <nlohmann/json.hpp>

#include "ToolRunner.h"

namespace {

std::string Get(const std::string& file, const std::string& key) {
  const ToolRun run = RunTool({"get", file, key});
  return run.status == 0 ? run.out.substr(0, run.out.size() - 1) : "<" + run.err + ">";
}

std::string CopyOfSample(const TempDir& dir) {
  const std::string copy = dir.File("site.xml");
  WriteTextFile(copy, ReadTextFile(SamplePath()));
  return copy;
}

TEST(SetTest, SavesSeveralKeysAndKeepsTheOthers) {
  TempDir dir;
  const std::string file = CopyOfSample(dir);
  const ToolRun run = RunTool({"set", file, "/Mwmscu/Timeout", "2,5",
                               "/StorageScu/Syntax[3]/TransferSyntax[1]/SyntaxValue",
                               "1.2.840.10008.1.2.1", "/EchoScu/ClientAeTitle", "ÉCHO"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Get(file, "/Mwmscu/Timeout"), "2.500000");
  EXPECT_EQ(Get(file, "/StorageScu/Syntax[3]/TransferSyntax[1]/SyntaxValue"),
            "1.2.840.10008.1.2.1");
  EXPECT_EQ(Get(file, "/EchoScu/ClientAeTitle"), "ÉCHO");
  EXPECT_EQ(Get(file, "/Mwmscu/UniqueKeyData"), "AccessionNumber") << "other values stay";
}

TEST(SetTest, AnyRefusedPairLeavesTheFileUntouched) {
  TempDir dir;
  const std::string file = CopyOfSample(dir);
  const std::string before = ReadTextFile(file);
  const std::vector<std::vector<std::string>> refusals = {
      {"/Mwmscu/Port", "abc"},
      {"/EchoScu/ClientAeTitle", std::string(512, 'A')},
      {"/EchoScu/ClientAeTitle", "bell\a"},
      {"/EchoScu/TaskCont", "1"},
      {"/StorageScu/Syntax[4]/AbstractSyntax", "1.2"},
      {"/EchoScu/TaskCount"},
  };
  for (const std::vector<std::string>& refused : refusals) {
    std::vector<std::string> args = {"set", file, "/EchoScu/TaskCount", "7"};
    args.insert(args.end(), refused.begin(), refused.end());
    const ToolRun run = RunTool(args);
    EXPECT_EQ(run.status, 2) << refused[0];
    EXPECT_NE(run.err.find("dicom-settings: " + file + ": "), std::string::npos) << run.err;
    EXPECT_EQ(ReadTextFile(file), before) << refused[0];
  }
  EXPECT_NE(RunTool({"set", file, "/EchoScu/ClientAeTitle", std::string(512, 'A')})
                .err.find("longer than 511 characters"),
            std::string::npos);
}

TEST(SetTest, StoresEachKindInTheFormTheLibraryWritesOrRefusesIt) {
  TempDir dir;
  const std::string file = CopyOfSample(dir);
  const std::string kRefused = "<refused>";
  const struct {
    const char* key;
    std::string input, stored;
  } cases[] = {
      {"/Mwmscu/Port", "2147483647", "2147483647"},
      {"/Mwmscu/Port", "-2147483648", "-2147483648"},
      {"/Mwmscu/Port", " +7 ", "7"},
      {"/Mwmscu/Port", "2147483648", kRefused},
      {"/Mwmscu/Port", "7.5", kRefused},
      {"/Mwmscu/Port", "", kRefused},
      {"/Mwmscu/Timeout", "1e3", "1000.000000"},
      {"/Mwmscu/Timeout", "-0,25", "-0.250000"},
      {"/Mwmscu/Timeout", "1,000.5", kRefused},
      {"/Mwmscu/Timeout", "inf", kRefused},
      {"/Service/Common/DebugLogout", "FaLsE", "FALSE"},
      {"/Service/Common/DebugLogout", "1", kRefused},
      {"/EchoScu/ClientAeTitle", "", ""},
      {"/EchoScu/ClientAeTitle", std::string(511, 'A'), std::string(511, 'A')},
  };
  for (const auto& c : cases) {
    const std::string before = Get(file, c.key);
    const ToolRun run = RunTool({"set", file, c.key, c.input});
    EXPECT_EQ(run.status, c.stored == kRefused ? 2 : 0) << c.key << " " << c.input;
    EXPECT_EQ(Get(file, c.key), c.stored == kRefused ? before : c.stored) << c.input;
  }
}

TEST(CopyTest, CopiesAreasValueByValueAndLeavesTheOthers) {
  TempDir dir;
  const std::string target = dir.File("new.xml");
  ASSERT_EQ(RunTool({"init", target}).status, 0);
  const ToolRun run = RunTool({"copy", SamplePath(), target, "clients", "charconv"});
  ASSERT_EQ(run.status, 0) << run.err;
  for (const char* area : {"clients", "charconv"}) {
    const auto source = nlohmann::json::parse(RunTool({"show", "--json", SamplePath(), area}).out);
    const auto copied = nlohmann::json::parse(RunTool({"show", "--json", target, area}).out);
    EXPECT_EQ(copied["areas"], source["areas"]) << area;
  }
  EXPECT_EQ(Get(target, "/EchoScu/ClientAeTitle"), "") << "an area not named is not copied";
  EXPECT_EQ(RunTool({"diff", SamplePath(), target, "clients", "charconv"}).status, 0);
}

TEST(CopyTest, ReportsSettingsTheTargetKeepsBeyondTheSource) {
  TempDir dir;
  const std::string source = dir.File("small.xml");
  WriteTextFile(source, SettingsXml("<DicomErrorSetting><DicomError><InsideError>5</InsideError>"
                                    "</DicomError></DicomErrorSetting>"));
  const std::string target = CopyOfSample(dir);
  const ToolRun run = RunTool({"copy", source, target, "errors"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(Get(target, "/DicomErrorSetting/DicomError[0]/InsideError"), "5");
  EXPECT_NE(run.err.find(target + ": /DicomErrorSetting/DicomError[6]/ErrorInfo: kept; " + source +
                         " has no such setting"),
            std::string::npos)
      << run.err;
}

TEST(InitTest, WritesEveryAreaWithOneEntryPerListAndRefusesToOverwrite) {
  TempDir dir;
  const std::string file = dir.File("fresh.xml");
  ASSERT_EQ(RunTool({"init", file}).status, 0);
  EXPECT_EQ(RunTool({"check", file}).status, 0);
  EXPECT_EQ(RunTool({"count", file, "/SpecificCharConv/SettingGroup[0]/ReceivePNConponent"}).out,
            "1\n");
  EXPECT_EQ(Get(file, "/Service/MediaScu/MediaScuAction"), "");
  const auto shown = nlohmann::json::parse(RunTool({"show", "--json", file}).out);
  EXPECT_EQ(shown["areas"].size(), 16u);
  EXPECT_EQ(
      ReadTextFile(file).rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Settings>\n  <", 0),
      0u);

  ASSERT_EQ(RunTool({"set", file, "/EchoScu/TaskCount", "3"}).status, 0);
  const std::string kept = ReadTextFile(file);
  const ToolRun refused = RunTool({"init", file});
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("file exists; give --force"), std::string::npos);
  EXPECT_EQ(ReadTextFile(file), kept);

  chmod(file.c_str(), 0640);
  ASSERT_EQ(RunTool({"init", "--force", file}).status, 0);
  EXPECT_EQ(Get(file, "/EchoScu/TaskCount"), "");
  struct stat st;
  ASSERT_EQ(stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(RunTool({"init", dir.File("no/such/dir.xml")}).status, 2);
}

}  // namespace
