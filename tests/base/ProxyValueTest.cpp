// The value conversions of the four proxies: texts sent on writes and values
// read back, locale independence included, over the recording stand-in store.
#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cstddef>
#include <string>
#include <utility>

#include "AccessLibraryBaseCpp.h"
#include "KeyTreeStore.h"
#include "RecordingStore.h"

namespace {

using namespace AccessLibraryBaseCpp;

class ProxyValueTest : public RecordingStoreTest {
 protected:
  // Writes each value through p (bound to "/V" of "A") and checks the text sent.
  template <class P, class V, size_t N>
  void ExpectSent(P& p, const std::pair<V, const wchar_t*> (&writes)[N]) {
    for (const auto& [value, text] : writes) {
      store.Reset();
      p = value;
      ASSERT_EQ(store.calls.size(), 1u);
      EXPECT_EQ(store.calls[0].value, text) << value;
    }
  }
  // Reads each stored text through p and checks the value it gives.
  template <class P, class R, size_t N>
  void ExpectRead(const P& p, const std::pair<const wchar_t*, R> (&reads)[N]) {
    for (const auto& [text, value] : reads) EXPECT_EQ(ReadStored<R>(p, text), value) << text;
  }
  // A failed store read and an unbound proxy both give failure, whatever is stored.
  template <class R, class P>
  void ExpectFailureValue(const P& p, const R& failure) {
    store.values[L"/V"] = L"TRUE";
    store.results["StoreGetValue"] = STORE_E_NOT_OPEN;
    EXPECT_EQ(static_cast<R>(p), failure);
    EXPECT_EQ(static_cast<R>(P()), failure);
  }
  // Scripts the stored text of "/V" and reads it through p.
  template <class R, class P>
  R ReadStored(const P& p, const wchar_t* text) {
    store.values[L"/V"] = text;
    return static_cast<R>(p);
  }
};

TEST_F(ProxyValueTest, IntegerTexts) {
  IntProxy p;
  p.SetIntProxy(L"/V", L"A");
  const std::pair<int, const wchar_t*> writes[] = {{-5, L"-5"}, {INT_MIN, L"-2147483648"}};
  ExpectSent(p, writes);
  const std::pair<const wchar_t*, int> reads[] = {{L"12abc", 12},
                                                  {L"abc", 0},
                                                  {L" 42", 42},
                                                  {L"\t-7", -7},
                                                  {L"+8", 8},
                                                  {L"", 0},
                                                  {L"2147483647", INT_MAX},
                                                  {L"2147483648", INT_MAX},
                                                  {L"-2147483649", INT_MIN},
                                                  {L"99999999999999999999999", INT_MAX}};
  ExpectRead(p, reads);
  ExpectFailureValue(p, 99999);
}

TEST_F(ProxyValueTest, FloatingPointTexts) {
  DoubleProxy p;
  p.SetDoubleProxy(L"/V", L"A");
  const std::pair<double, const wchar_t*> writes[] = {{0.1, L"0.100000"},
                                                      {0.0000001, L"0.000000"},
                                                      {-2.5, L"-2.500000"},
                                                      {1e20, L"100000000000000000000.000000"}};
  ExpectSent(p, writes);
  const std::pair<const wchar_t*, double> reads[] = {
      {L"1e3", 1000.0},  {L"0.000000", 0.0}, {L"2.5", 2.5}, {L"2,500000", 2.5},
      {L" -1.5x", -1.5}, {L"1,000.5", 1.0},  {L"abc", 0.0}};
  ExpectRead(p, reads);
  ExpectFailureValue(p, 99999.0);
}

TEST_F(ProxyValueTest, FloatingPointTextsIgnoreACommaLocale) {
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no de_DE.UTF-8 locale";
  DoubleProxy p;
  p.SetDoubleProxy(L"/V", L"A");
  p = 2.5;
  const std::wstring sent = store.calls.at(0).value;
  const double fromComma = ReadStored<double>(p, L"2,500000");
  const double fromPoint = ReadStored<double>(p, L"2.5");
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(sent, L"2.500000");
  EXPECT_EQ(fromComma, 2.5);
  EXPECT_EQ(fromPoint, 2.5);
}

TEST_F(ProxyValueTest, BooleanTexts) {
  BoolProxy p;
  p.SetBoolProxy(L"/V", L"A");
  const std::pair<int, const wchar_t*> writes[] = {{7, L"TRUE"}, {-1, L"TRUE"}, {0, L"FALSE"}};
  ExpectSent(p, writes);
  const std::pair<const wchar_t*, int> reads[] = {
      {L"true", 1}, {L"True", 1}, {L"TRUE", 1},  {L"tRuE", 1},  {L"FALSE", 0},
      {L"1", 0},    {L"", 0},     {L" TRUE", 0}, {L"TRUE ", 0}, {L"TRUEX", 0}};
  ExpectRead(p, reads);
  ExpectFailureValue(p, 0);
}

TEST_F(ProxyValueTest, StringTextsUpTo511CharactersAreWrittenWhole) {
  StringProxy p;
  p.SetStringProxy(L"/V", L"A");
  const std::wstring longest(511, L's');
  const std::pair<std::wstring, const wchar_t*> writes[] = {{longest, longest.c_str()}, {L"", L""}};
  ExpectSent(p, writes);
  store.Reset();
  p = longest + L"s";
  p = (longest + L"s").c_str();
  p = static_cast<const wchar_t*>(nullptr);
  p = std::wstring(L"a\0b", 3);
  EXPECT_TRUE(store.calls.empty());
  const std::pair<const wchar_t*, std::wstring> reads[] = {{L"", L""}, {L"AE_TITLE", L"AE_TITLE"}};
  ExpectRead(p, reads);
  ExpectFailureValue(p, std::wstring());
}

}  // namespace
