// What the four proxies share: binding, copying, assignment and unbound use,
// over the recording stand-in store.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "AccessLibraryBaseCpp.h"
#include "RecordingStore.h"

namespace {

using namespace AccessLibraryBaseCpp;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// One proxy class with its value type and binder.
template <class P, class V, void (P::*Binder)(const wchar_t*, const wchar_t*)>
struct Kind {
  using Proxy = P;
  static void Bind(P& p, const wchar_t* key, const wchar_t* path) { (p.*Binder)(key, path); }
  static void Write(P& p) { p = V(); }
  static void Read(const P& p) { static_cast<void>(static_cast<V>(p)); }
};
using Kinds = ::testing::Types<Kind<IntProxy, int, &IntProxy::SetIntProxy>,
                               Kind<DoubleProxy, double, &DoubleProxy::SetDoubleProxy>,
                               Kind<BoolProxy, int, &BoolProxy::SetBoolProxy>,
                               Kind<StringProxy, std::wstring, &StringProxy::SetStringProxy>>;

template <class K>
class ProxyBindingTest : public RecordingStoreTest {
 protected:
  using P = typename K::Proxy;
  // The store calls of one read of p.
  std::vector<std::wstring> ReadTrace(const P& p) {
    store.Reset();
    K::Read(p);
    return store.Trace();
  }
};
TYPED_TEST_SUITE(ProxyBindingTest, Kinds);

TYPED_TEST(ProxyBindingTest, BindingAndCopyingMakeNoStoreCallAndCopyTheBinding) {
  typename TestFixture::P p, unbound, assigned, stillUnbound;
  EXPECT_THAT(this->ReadTrace(unbound), IsEmpty());
  TypeParam::Write(unbound);
  TypeParam::Bind(p, L"/K", L"A");
  typename TestFixture::P copy(p);
  assigned = p;  // an unbound target takes the source's binding
  stillUnbound = unbound;
  EXPECT_THAT(this->store.calls, IsEmpty());
  TypeParam::Bind(p, L"/L", L"B");
  EXPECT_THAT(this->ReadTrace(p), ElementsAre(L"StoreGetValue B /L"));
  EXPECT_THAT(this->ReadTrace(copy), ElementsAre(L"StoreGetValue A /K"));
  EXPECT_THAT(this->ReadTrace(assigned), ElementsAre(L"StoreGetValue A /K"));
  EXPECT_THAT(this->ReadTrace(stillUnbound), IsEmpty());
}

TYPED_TEST(ProxyBindingTest, OverlongOrNullKeyOrPathLeavesItUnbound) {
  const std::wstring key = L"/" + std::wstring(510, L'k');     // 511 characters
  const std::wstring path = L"C:/" + std::wstring(256, L'p');  // 259 characters
  typename TestFixture::P p;
  TypeParam::Bind(p, key.c_str(), path.c_str());
  EXPECT_THAT(this->ReadTrace(p), ElementsAre(L"StoreGetValue " + path + L" " + key));
  const std::wstring tooLongKey = key + L"k", tooLongPath = path + L"p";
  for (const auto& [badKey, badPath] :
       {std::pair{tooLongKey.c_str(), L"A"}, std::pair{L"/K", tooLongPath.c_str()},
        std::pair<const wchar_t*, const wchar_t*>{nullptr, L"A"},
        std::pair<const wchar_t*, const wchar_t*>{L"/K", nullptr}, std::pair{L"", L"A"}}) {
    TypeParam::Bind(p, L"/K", L"A");
    TypeParam::Bind(p, badKey, badPath);
    EXPECT_THAT(this->ReadTrace(p), IsEmpty());
    TypeParam::Write(p);
    EXPECT_THAT(this->store.calls, IsEmpty());
  }
}

TYPED_TEST(ProxyBindingTest, AssignmentBetweenBoundProxiesCopiesTheStoredText) {
  typename TestFixture::P target, source;
  TypeParam::Bind(target, L"/T", L"A");
  TypeParam::Bind(source, L"/S", L"B");
  // A read-only source is copied the same way, never through its converted value.
  for (const bool readOnly : {false, true}) {
    const auto assign = [&] { readOnly ? target = std::as_const(source) : target = source; };
    this->store.Reset();
    this->store.values[L"/S"] = L" 42x";
    assign();
    EXPECT_THAT(this->store.Trace(),
                ElementsAre(L"StoreGetValue B /S", L"StoreSetValue A /T= 42x"));
    this->store.Reset();  // the source's read now fails
    assign();
    EXPECT_THAT(this->store.Trace(), ElementsAre(L"StoreGetValue B /S"));
  }
  this->store.values[L"/T"] = L"v";
  auto& self = target;
  target = self;
  EXPECT_THAT(this->store.Trace(),
              ElementsAre(L"StoreGetValue B /S", L"StoreGetValue A /T", L"StoreSetValue A /T=v"));
}

}  // namespace
