// List counters on real files: each counts the nodes of its own list key in its
// own file and clamps to its capacity; on a file that is not open the store
// fails and the count is 0.
#include <functional>
#include <utility>

#include "SettingsFile.h"

using namespace DicomAccessLibraryCpp;

namespace {

std::string Repeat(const std::string& text, int count) {
  std::string repeated;
  for (int i = 0; i < count; ++i) repeated += text;
  return repeated;
}

std::string Under(const std::string& root, const std::string& body) {
  return "<" + root + ">" + body + "</" + root + ">";
}

// An entry with an abstract syntax and five transfer syntaxes.
const std::string kEntry =
    "<Syntax><AbstractSyntax>1.2</AbstractSyntax>" +
    Repeat("<TransferSyntax><SyntaxValue>1.2.1</SyntaxValue></TransferSyntax>", 5) + "</Syntax>";

using Count = std::function<int(const wchar_t* path, bool open)>;

// A count made on a new S on path, opened first when open is set.
template <class S>
Count On(int (*count)(S&)) {
  return [count](const wchar_t* path, bool open) {
    S section(path);
    if (open) {
      EXPECT_EQ(section.Open(), 0);
    }
    return count(section);
  };
}

// The section's entries and its first entry's transfer syntaxes.
template <class S>
std::pair<int, int> SyntaxCounts(const wchar_t* path, bool open) {
  S section(path);
  if (open) {
    EXPECT_EQ(section.Open(), 0);
  }
  return {section.GetCountSyntax(), section.Syntax[0].GetCountTransferSyntax()};
}

}  // namespace

TEST(ListCount, SyntaxListsCountTheirOwnRootAndClampToTheirCapacities) {
  const struct {
    const char* root;
    std::pair<int, int> (*count)(const wchar_t*, bool);
    std::pair<int, int> expected;
  } cases[] = {
      {"EchoScu", &SyntaxCounts<CEchoScuSetting>, {1, 1}},
      {"StorageScu", &SyntaxCounts<CStorageScuSetting>, {4, 4}},
      {"PrintScu", &SyntaxCounts<CPrintScuSetting>, {1, 3}},
      {"Printnevent", &SyntaxCounts<CPrintNeventSetting>, {1, 1}},
      {"ScScuGet", &SyntaxCounts<CScScuRecvSetting>, {1, 1}},
      {"ScScuPut", &SyntaxCounts<CScScuSendSetting>, {1, 1}},
      {"DetachScuGet", &SyntaxCounts<CDetachScuRecvSetting>, {2, 1}},
      {"DetachScuPut", &SyntaxCounts<CDetachScuSendSetting>, {2, 1}},
      {"Mwmscu", &SyntaxCounts<CMwmScuSetting>, {1, 3}},
      {"MppsScu", &SyntaxCounts<CMppsScuSetting>, {1, 3}},
  };
  for (const auto& c : cases) {
    TempDir dir;
    const SettingsFile file(dir, "settings.xml", Under(c.root, Repeat(kEntry, 6)));
    EXPECT_EQ(c.count(file.path.c_str(), true), c.expected) << c.root;
    EXPECT_EQ(c.count(file.path.c_str(), false), std::make_pair(0, 0)) << c.root << ", not open";
  }
}

TEST(ListCount, CountsClampToCapacityAndFailToZero) {
  const std::string group =
      "<SettingGroup>" + Repeat("<SendPNConponent/>", 4) + "<ReceivePNConponent/></SettingGroup>";
  const auto clients = [](int n) {
    return Under("DicomClientSetting", Repeat("<DicomClient><Port>1</Port></DicomClient>", n));
  };
  const Count echoEntries =
      On<CEchoScuSetting>([](CEchoScuSetting& s) { return s.GetCountSyntax(); });
  const Count groups =
      On<CSpecificCharConv>([](CSpecificCharConv& s) { return s.GetSettingGroup(); });
  const Count clientCount =
      On<CDicomClientSetting>([](CDicomClientSetting& s) { return s.GetCountDicomClient(); });
  const Count printEntryAsEcho = [](const wchar_t* path, bool open) {
    AccessLibraryBaseCpp::CAccessLibraryBaseCpp base(path);
    if (open) {
      EXPECT_EQ(base.Open(), 0);
    }
    EchoScu::CSyntax entry;
    EXPECT_EQ(entry.Initialize(path, L"/PrintScu/Syntax", 0), 0);
    return entry.GetCountTransferSyntax();
  };
  const struct {
    const char* what;
    std::string body;
    Count count;
    int expected;
  } cases[] = {
      {"echo, no entry", Under("EchoScu", "<TaskCount>1</TaskCount>"), echoEntries, 0},
      {"echo, 3 entries", Under("EchoScu", Repeat("<Syntax/>", 3)), echoEntries, 1},
      {"print entry of 5 transfer syntaxes, through an echo entry", Under("PrintScu", kEntry),
       printEntryAsEcho, 1},
      {"60 groups", Under("SpecificCharConv", Repeat("<SettingGroup/>", 60)), groups, 50},
      {"12 groups", Under("SpecificCharConv", Repeat("<SettingGroup/>", 12)), groups, 12},
      {"4 send components", Under("SpecificCharConv", group),
       On<CSpecificCharConv>(
           [](CSpecificCharConv& s) { return s.SettingGroup[0].GetCountSendPNConponent(); }),
       3},
      {"1 receive component", Under("SpecificCharConv", group),
       On<CSpecificCharConv>(
           [](CSpecificCharConv& s) { return s.SettingGroup[0].GetCountReceivePNConponent(); }),
       1},
      {"150 tag items", Under("MwmscuInfoSetting", Repeat("<MwmscuInfo/>", 150)),
       On<CMwmScuInfoSetting>([](CMwmScuInfoSetting& s) { return s.GetCountMwmscuInfo(); }), 100},
      {"51 clients", clients(51), clientCount, 50},
      {"50 clients", clients(50), clientCount, 50},
      {"49 clients", clients(49), clientCount, 49},
      {"301 errors", Under("DicomErrorSetting", Repeat("<DicomError/>", 301)),
       On<CDicomErrorSetting>([](CDicomErrorSetting& s) { return s.GetCountDicomError(); }), 300},
  };
  for (const auto& c : cases) {
    TempDir dir;
    const SettingsFile file(dir, "settings.xml", c.body);
    EXPECT_EQ(c.count(file.path.c_str(), true), c.expected) << c.what;
    EXPECT_EQ(c.count(file.path.c_str(), false), 0) << c.what << ", not open";
  }
}
