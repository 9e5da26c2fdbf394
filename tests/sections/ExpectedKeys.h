// The keys every settings class is expected to address, written out by hand and
// independent of the library's own tables: per class its values (key and value
// kind, in field order) and its lists (key, capacity, element table). Each row
// names its member (Field<&CEchoScuSetting::TaskCount>), so a table compiles only
// while the member exists under that name, and it records the member's proxy
// class so that the kind can be checked.
//
// Owner pointers are void* to the owner's framework base: CAccessLibraryBaseCpp
// for a section, ElementCore for a list element, as in the library's tables.
#ifndef DICOMSETTINGS_TESTS_EXPECTEDKEYS_H
#define DICOMSETTINGS_TESTS_EXPECTEDKEYS_H

#include <string>
#include <type_traits>
#include <vector>

#include "DicomSettings.h"

namespace expected {

using AccessLibraryBaseCpp::CAccessLibraryBaseCpp;
using AccessLibraryBaseCpp::ProxyCore;
using DicomAccessLibraryCpp::ElementCore;
using DicomAccessLibraryCpp::ValueKind;

constexpr ValueKind kInt = ValueKind::Integer;
constexpr ValueKind kDbl = ValueKind::FloatingPoint;
constexpr ValueKind kBool = ValueKind::Boolean;
constexpr ValueKind kStr = ValueKind::String;

struct Table;

struct ValueRow {
  const wchar_t* key;    // absolute in a section, relative in an element
  ValueKind kind;        // the kind the value should have
  ValueKind memberKind;  // the proxy class the member really is
  ProxyCore& (*proxy)(void* owner);
};

struct ListRow {
  const wchar_t* key;  // absolute in a section, relative in an element
  int capacity;
  int memberLength;  // length of the member array
  const Table* element;
  ElementCore& (*at)(void* owner, int index);
};

struct Table {
  const char* name;
  std::vector<ValueRow> values;
  std::vector<ListRow> lists;
};

// The table of a section or element class (defined in the *KeyTables.cpp files).
template <class T>
const Table& ExpectedTable();

// Defines ExpectedTable<Class>() from its value rows and list rows; inside them S
// names the class.
#define EXPECTED_TABLE(Class, ...)                 \
  template <>                                      \
  const Table& ExpectedTable<Class>() {            \
    using S = Class;                               \
    static const Table table{#Class, __VA_ARGS__}; \
    return table;                                  \
  }

namespace detail {
// The framework's type traits: a member pointer's owner and type, and the
// framework base an owner pointer points at.
template <class M>
using MemberOf = DicomAccessLibraryCpp::schema_detail::MemberTraits<M>;
template <class O>
O& OwnerOf(void* owner) {
  return static_cast<O&>(
      *static_cast<DicomAccessLibraryCpp::schema_detail::FrameworkBase<O>*>(owner));
}
template <class P>
constexpr ValueKind KindOf() {
  using namespace AccessLibraryBaseCpp;
  static_assert(std::is_base_of_v<ProxyCore, P>, "a value row must name a proxy");
  if constexpr (std::is_same_v<P, IntProxy>) return kInt;
  if constexpr (std::is_same_v<P, DoubleProxy>) return kDbl;
  if constexpr (std::is_same_v<P, BoolProxy>) return kBool;
  return kStr;
}
}  // namespace detail

template <auto Member>
ValueRow Field(const wchar_t* key, ValueKind kind) {
  using M = detail::MemberOf<decltype(Member)>;
  return {key, kind, detail::KindOf<typename M::Type>(), [](void* owner) -> ProxyCore& {
            return detail::OwnerOf<typename M::Owner>(owner).*Member;
          }};
}

template <auto Member>
ListRow Nodes(const wchar_t* key, int capacity) {
  using M = detail::MemberOf<decltype(Member)>;
  using Element = std::remove_extent_t<typename M::Type>;
  return {key, capacity, static_cast<int>(std::extent_v<typename M::Type>),
          &ExpectedTable<Element>(), [](void* owner, int index) -> ElementCore& {
            return (detail::OwnerOf<typename M::Owner>(owner).*Member)[index];
          }};
}

// One value an object addresses: its full key, its kinds and its proxy.
struct Leaf {
  std::wstring key;
  ValueKind kind;
  ValueKind memberKind;
  ProxyCore* proxy;
};

// Every value of owner in field order, the order of binding and of assignment:
// its own values, then each list's elements in index order, each element's
// values before its nested lists. prefix is the owner's node key (empty for a
// section). A list is walked only as far as both capacity and member length go.
std::vector<Leaf> Leaves(void* owner, const Table& table, const std::wstring& prefix);

template <class S>
std::vector<Leaf> SectionLeaves(S& section) {
  return Leaves(static_cast<CAccessLibraryBaseCpp*>(&section), ExpectedTable<S>(), L"");
}
template <class E>
std::vector<Leaf> ElementLeaves(E& element, const std::wstring& nodeKey) {
  return Leaves(static_cast<ElementCore*>(&element), ExpectedTable<E>(), nodeKey);
}

#define DECLARE_EXPECTED_TABLE(Class) \
  template <>                         \
  const Table& ExpectedTable<DicomAccessLibraryCpp::Class>();
DECLARE_EXPECTED_TABLE(CEchoScuSetting)
DECLARE_EXPECTED_TABLE(CStorageScuSetting)
DECLARE_EXPECTED_TABLE(CPrintScuSetting)
DECLARE_EXPECTED_TABLE(CPrintNeventSetting)
DECLARE_EXPECTED_TABLE(CMediaScuSetting)
DECLARE_EXPECTED_TABLE(CScScuRecvSetting)
DECLARE_EXPECTED_TABLE(CScScuSendSetting)
DECLARE_EXPECTED_TABLE(CDetachScuRecvSetting)
DECLARE_EXPECTED_TABLE(CDetachScuSendSetting)
DECLARE_EXPECTED_TABLE(CMwmScuSetting)
DECLARE_EXPECTED_TABLE(CMwmScuInfoSetting)
DECLARE_EXPECTED_TABLE(CMppsScuSetting)
DECLARE_EXPECTED_TABLE(CDicomSetupSetting)
DECLARE_EXPECTED_TABLE(CDicomClientSetting)
DECLARE_EXPECTED_TABLE(CDicomErrorSetting)
DECLARE_EXPECTED_TABLE(CSpecificCharConv)
DECLARE_EXPECTED_TABLE(CTransferSyntax)
DECLARE_EXPECTED_TABLE(EchoScu::CSyntax)
DECLARE_EXPECTED_TABLE(StorageScu::CSyntax)
DECLARE_EXPECTED_TABLE(PrintScu::CSyntax)
DECLARE_EXPECTED_TABLE(Printnevent::CSyntax)
DECLARE_EXPECTED_TABLE(ScScuGet::CSyntax)
DECLARE_EXPECTED_TABLE(ScScuPut::CSyntax)
DECLARE_EXPECTED_TABLE(DetachScuGet::CSyntax)
DECLARE_EXPECTED_TABLE(DetachScuPut::CSyntax)
DECLARE_EXPECTED_TABLE(Mwmscu::CSyntax)
DECLARE_EXPECTED_TABLE(MppsScu::CSyntax)
DECLARE_EXPECTED_TABLE(MwmscuInfo::CMwmscuInfo)
DECLARE_EXPECTED_TABLE(DicomClient::CDicomClient)
DECLARE_EXPECTED_TABLE(DicomError::CDicomError)
DECLARE_EXPECTED_TABLE(SettingGroup::CSettingGroup)
DECLARE_EXPECTED_TABLE(SendPNConponent::CSendPNConponent)
DECLARE_EXPECTED_TABLE(ReceivePNConponent::CReceivePNConponent)
#undef DECLARE_EXPECTED_TABLE

}  // namespace expected

#endif
