// check on the sample and on files with planted faults, and diff between files.
#include <gtest/gtest.h>

#include "ToolRunner.h"

namespace {

// The sample with every occurrence of from replaced by to.
std::string Planted(const std::string& from, const std::string& to) {
  std::string text = ReadTextFile(SamplePath());
  size_t at = text.find(from);
  if (at == std::string::npos) throw std::runtime_error("not in the sample: " + from);
  for (; at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// 1-based line of the first occurrence of text in content.
int LineOf(const std::string& content, const std::string& text) {
  const size_t at = content.find(text);
  return 1 + static_cast<int>(std::count(content.begin(), content.begin() + at, '\n'));
}

TEST(CheckTest, FindsEachPlantedFaultAtItsLine) {
  const std::string body =
      "\n        <CopyFrom>0</CopyFrom>\n        <ConvertCharType>3</ConvertCharType>\n"
      "        <OverWriteFlag>FALSE</OverWriteFlag>\n      ";
  struct Case {
    std::string from, to, marker, finding;
  } cases[] = {
      {"<ReceivePNConponent>" + body + "</ReceivePNConponent>",
       "<ReceivePNComponent>" + body + "</ReceivePNComponent>", "<ReceivePNComponent>",
       ":7: /SpecificCharConv/SettingGroup[1]/ReceivePNComponent: unknown element (did you mean "
       "\"ReceivePNConponent\"?)"},
      {"<Port>10400</Port>", "<Port>abc</Port>", "<Port>abc",
       ":7: /DicomClientSetting/DicomClient[4]/Port: \"abc\" is not an integer"},
      {"<Timeout>30.000000", "<Timeout>30 s", "<Timeout>",
       ":5: /Mwmscu/Timeout: \"30 s\" is not a number"},
      {"<DebugLogout>FALSE", "<DebugLogout> TRUE", "<DebugLogout>",
       ":7: /Service/Common/DebugLogout: \" TRUE\" is neither TRUE nor FALSE"},
      {"\n  </StorageScu>",
       "\n  <Syntax><AbstractSyntax>1.2</AbstractSyntax></Syntax>\n  </StorageScu>",
       "<Syntax><AbstractSyntax>1.2<",
       ":3: /StorageScu/Syntax[4]: entry beyond the 4 the library reads of this list"},
      {"<TaskCount>4</TaskCount>", "<TaskCount>4</TaskCount>\n<TaskCount>2</TaskCount>",
       "<TaskCount>2", ":1: /StorageScu/TaskCount: repeated element; only the first one is read"},
      {"<ErrorInfo>Processing failure", "<ErrorInfo>" + std::string(512, 'x'),
       std::string(512, 'x'),
       ":7: /DicomErrorSetting/DicomError[3]/ErrorInfo: value of 512 characters"},
      {"Printnevent>", "PrintNevent>", "<PrintNevent>",
       ":3: /PrintNevent: unknown element (did you mean \"Printnevent\"?)"},
  };
  TempDir dir;
  const std::string file = dir.File("planted.xml");
  for (const Case& c : cases) {
    const std::string content = Planted(c.from, c.to);
    WriteTextFile(file, content);
    const ToolRun run = RunTool({"check", file});
    EXPECT_EQ(run.status, 1) << c.to;
    const std::string where = file + ":" + std::to_string(LineOf(content, c.marker)) + ":";
    EXPECT_EQ(run.out.rfind(where, 0), 0u) << run.out;
    EXPECT_NE(run.out.find(c.finding), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\n1 problem found\n"), std::string::npos) << run.out;
  }
}

TEST(DiffTest, ShowsChangedAndOneSidedKeysOnly) {
  TempDir dir;
  const std::string changed = dir.File("changed.xml");
  WriteTextFile(changed, Planted("<ClientAeTitle>RADSITE_ECHO", "<ClientAeTitle>NEW_ECHO"));
  ASSERT_EQ(
      RunTool({"set", changed, "/DicomErrorSetting/DicomError[7]/InsideError", "4001"}).status, 0);
  const ToolRun run = RunTool({"diff", SamplePath(), changed});
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.out, std::string("--- ") + SamplePath() + "\n+++ " + changed +
                         "\n- /EchoScu/ClientAeTitle = RADSITE_ECHO"
                         "\n+ /EchoScu/ClientAeTitle = NEW_ECHO"
                         "\n+ /DicomErrorSetting/DicomError[7]/InsideError = 4001\n");
  const ToolRun same = RunTool({"diff", SamplePath(), changed, "storage", "clients"});
  EXPECT_EQ(same.status, 0) << same.err;
  EXPECT_EQ(same.out, "");
}

}  // namespace
