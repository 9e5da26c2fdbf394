// List counters on real files, for lists of each shape (every counter reads its
// key and capacity from the table keys.txt checks): each counts the nodes of its
// own list key in its own file and clamps to its capacity; on a file that is not
// open the store fails and the count is 0.
#include <functional>

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

// A task section's entries and its first entry's transfer syntaxes, as
// entries * 100 + transfer syntaxes.
template <class S>
Count Syntaxes() {
  return On<S>(
      [](S& s) { return s.GetCountSyntax() * 100 + s.Syntax[0].GetCountTransferSyntax(); });
}

TEST(ListCount, EachCountsItsOwnListClampedToItsCapacity) {
  // Six entries of five transfer syntaxes each.
  const std::string entries =
      Repeat("<Syntax><AbstractSyntax>1.2</AbstractSyntax>" +
                 Repeat("<TransferSyntax><SyntaxValue>1.2.1</SyntaxValue></TransferSyntax>", 5) +
                 "</Syntax>",
             6);
  const std::string group =
      "<SettingGroup>" + Repeat("<SendPNConponent/>", 4) + "<ReceivePNConponent/></SettingGroup>";
  const auto clients = [](int n) {
    return Under("DicomClientSetting", Repeat("<DicomClient><Port>1</Port></DicomClient>", n));
  };
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
    std::string body;
    Count count;
    int expected;
  } cases[] = {
      {Under("EchoScu", entries), Syntaxes<CEchoScuSetting>(), 101},
      {Under("StorageScu", entries), Syntaxes<CStorageScuSetting>(), 404},
      {Under("DetachScuGet", entries), Syntaxes<CDetachScuRecvSetting>(), 201},
      {Under("Mwmscu", entries), Syntaxes<CMwmScuSetting>(), 103},
      {Under("EchoScu", "<TaskCount>1</TaskCount>"), Syntaxes<CEchoScuSetting>(), 0},
      {Under("PrintScu", entries), printEntryAsEcho, 1},
      {Under("SpecificCharConv", Repeat("<SettingGroup/>", 60)), groups, 50},
      {Under("SpecificCharConv", group), On<CSpecificCharConv>([](CSpecificCharConv& s) {
         return s.SettingGroup[0].GetCountSendPNConponent();
       }),
       3},
      {Under("SpecificCharConv", group), On<CSpecificCharConv>([](CSpecificCharConv& s) {
         return s.SettingGroup[0].GetCountReceivePNConponent();
       }),
       1},
      {Under("MwmscuInfoSetting", Repeat("<MwmscuInfo/>", 150)),
       On<CMwmScuInfoSetting>([](CMwmScuInfoSetting& s) { return s.GetCountMwmscuInfo(); }), 100},
      {clients(51), clientCount, 50},
      {clients(49), clientCount, 49},
      {Under("DicomErrorSetting", Repeat("<DicomError/>", 301)),
       On<CDicomErrorSetting>([](CDicomErrorSetting& s) { return s.GetCountDicomError(); }), 300},
  };
  for (const auto& c : cases) {
    TempDir dir;
    const SettingsFile file(dir, "settings.xml", c.body);
    EXPECT_EQ(c.count(file.path.c_str(), true), c.expected) << c.body.substr(0, 40);
    EXPECT_EQ(c.count(file.path.c_str(), false), 0) << c.body.substr(0, 40) << ", not open";
  }
}

}  // namespace
