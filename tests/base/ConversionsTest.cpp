// The value conversions of the four proxies and the path form check, as
// conversions.txt lists them (its opening comment tells its lines), over the
// recording stand-in store; and floating-point texts under a comma locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cwchar>
#include <functional>

#include "AccessLibraryBaseCpp.h"
#include "KeyTreeStore.h"
#include "RecordingStore.h"
#include "TextTable.h"
#include "ValueText.h"

namespace {

using namespace AccessLibraryBaseCpp;

// One proxy class bound to "/V" of "A": write sets it from a value's text, read
// gives the value it reads as text, unbound the value an unbound one reads.
struct Kind {
  std::function<void(const std::wstring&)> write;
  std::function<std::wstring()> read, unbound;
};

std::wstring Number(double value) {
  wchar_t text[64];
  std::swprintf(text, 64, L"%g", value);
  return text;
}

class Conversions : public RecordingStoreTest {
 protected:
  void SetUp() override {
    RecordingStoreTest::SetUp();
    i.SetIntProxy(L"/V", L"A");
    d.SetDoubleProxy(L"/V", L"A");
    b.SetBoolProxy(L"/V", L"A");
    s.SetStringProxy(L"/V", L"A");
  }
  IntProxy i;
  DoubleProxy d;
  BoolProxy b;
  StringProxy s;
  const std::map<std::string, Kind> kinds = {
      {"int",
       {[&](const std::wstring& v) { i = std::stoi(v); }, [&] { return std::to_wstring(int(i)); },
        [] { return std::to_wstring(int(IntProxy())); }}},
      {"double",
       {[&](const std::wstring& v) { d = std::stod(v); }, [&] { return Number(d); },
        [] { return Number(DoubleProxy()); }}},
      {"bool",
       {[&](const std::wstring& v) { b = std::stoi(v); }, [&] { return std::to_wstring(int(b)); },
        [] { return std::to_wstring(int(BoolProxy())); }}},
      {"string",
       {[&](const std::wstring& v) { s = v; }, [&] { return std::wstring(s); },
        [] { return std::wstring(StringProxy()); }}},
  };
};

TEST_F(Conversions, EveryRowOfConversionsTxt) {
  ForEachLine(CONVERSIONS_FILE, [&](const std::string& line) {
    const std::vector<std::wstring> w = Words(line, {});
    ASSERT_GE(w.size(), 3u);
    const std::string kind = Bytes(w[0]), what = Bytes(w[1]);
    if (kind == "path") {
      EXPECT_EQ(HasAcceptablePathForm(w[1].c_str()) ? L"yes" : L"no", w[2]);
      return;
    }
    const Kind& k = kinds.at(kind);
    store.Reset();
    if (what == "write") {
      k.write(w[2]);
      EXPECT_EQ(store.Trace(), w[3] == L"-"
                                   ? std::vector<std::wstring>()
                                   : std::vector<std::wstring>{L"StoreSetValue A /V=" + w[3]});
      if (kind == "string" && w[2].find(L'\0') == std::wstring::npos) {
        store.Reset();
        s = w[2].c_str();
        EXPECT_EQ(store.calls.size(), w[3] == L"-" ? 0u : 1u) << "as a pointer";
      }
    } else if (what == "read") {
      store.values[L"/V"] = w[2];
      EXPECT_EQ(k.read(), w[3]);
    } else {
      store.values[L"/V"] = L"TRUE";
      store.results["StoreGetValue"] = STORE_E_NOT_OPEN;
      EXPECT_EQ(k.read(), w[2]) << "a failed read";
      EXPECT_EQ(k.unbound(), w[2]) << "an unbound proxy";
    }
  });
  store.Reset();
  s = static_cast<const wchar_t*>(nullptr);
  EXPECT_TRUE(store.calls.empty());
}

TEST_F(Conversions, FloatingPointTextsIgnoreACommaLocale) {
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no de_DE.UTF-8 locale";
  d = 2.5;
  const std::wstring sent = store.calls.at(0).value;
  store.values[L"/V"] = L"2,500000";
  const double fromComma = d;
  store.values[L"/V"] = L"2.5";
  const double fromPoint = d;
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(sent, L"2.500000");
  EXPECT_EQ(fromComma, 2.5);
  EXPECT_EQ(fromPoint, 2.5);
}

}  // namespace
