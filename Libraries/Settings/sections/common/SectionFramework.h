// The two shapes every settings class has, written once.
//
// A section object derives from CAccessLibraryBaseCpp, holds one proxy per key of
// its area and one fixed-capacity array of list elements per repeated node, and is
// bound from its key table (SettingsSchema.h) at construction without a store
// call. A list element stands for one indexed node ("/EchoScu/Syntax[0]"): it
// borrows its owner's path text, holds its node key and index, one proxy per
// field and arrays of nested elements.
//
// Section semantics: copy construction binds the copy afresh to its own path
// (elements back at indices 0..capacity-1) and, when the source is open, takes an
// open of its own; assignment copies values only, from the source's file into
// this object's file, in field order and then element by element, and keeps this
// object's path, open flag and bindings; destruction closes an open section once
// and never saves.
//
// Element semantics: copy construction copies bindings; assignment copies the
// path pointer, index and node key and then assigns proxies (a bound proxy copies
// the stored value) and nested elements; Initialize re-points the element and its
// nested elements at node `index` of any list without a store call.
//
// Thread safety: an object must not be used by two threads at once.
#ifndef DICOMSETTINGS_SECTIONFRAMEWORK_H
#define DICOMSETTINGS_SECTIONFRAMEWORK_H

#include <cstddef>
#include <type_traits>

#include "AccessLibraryBaseCpp.h"
#include "DicomSettingsExport.h"
#include "SettingsSchema.h"
#include "SharedText.h"

namespace DicomAccessLibraryCpp {

using AccessLibraryBaseCpp::BoolProxy;
using AccessLibraryBaseCpp::CAccessLibraryBaseCpp;
using AccessLibraryBaseCpp::DoubleProxy;
using AccessLibraryBaseCpp::IntProxy;
using AccessLibraryBaseCpp::ProxyCore;
using AccessLibraryBaseCpp::StringProxy;

// What every list element holds besides its proxies and nested arrays.
class DICOMSETTINGS_API ElementCore {
 public:
  // The node key ("/EchoScu/Syntax[0]"), or null until the element is bound.
  const wchar_t* GetNodeKey() const noexcept { return m_nodeKey.c_str(); }
  // The node's index in its list; -1 until bound.
  int GetIndex() const noexcept { return m_index; }
  // The borrowed path text of whoever bound the element; null until bound.
  const wchar_t* GetFilePathText() const noexcept { return m_filePath; }
  // Number of nodes of a nested list of this element, clamped to its capacity;
  // 0 when the store call fails or the element is unbound.
  int CountNested(const ListField& list) const;

 protected:
  ElementCore() noexcept = default;
  ElementCore(const ElementCore& other) noexcept = default;
  ElementCore& operator=(const ElementCore& other) noexcept = default;
  ~ElementCore() = default;

  // Re-points this element (whose table is schema) at node index of listKey in
  // path: 0, or 201 when the node key would exceed 511 characters or listKey is
  // null (the element is then left without node key and with unbound proxies).
  int InitializeAt(const ElementSchema& schema, const wchar_t* path, const wchar_t* listKey,
                   int index);
  // Binds the proxies and nested elements from the node key and path.
  void BindFromSchema(const ElementSchema& schema);

 private:
  friend struct SchemaBinding;

  const wchar_t* m_filePath = nullptr;
  AccessLibraryBaseCpp::SharedText m_nodeKey;
  int m_index = -1;
};

// Base of every list element class D (CRTP): the re-pointing operation and the
// binder, both driven by D::Schema().
template <class D>
class ListElement : public ElementCore {
 public:
  int Initialize(const wchar_t* path, const wchar_t* listKey, int index) {
    return InitializeAt(D::Schema(), path, listKey, index);
  }

 protected:
  // Counter of D's nested list number `list` (in table order).
  int CountList(int list) const { return CountNested(D::Schema().lists[list]); }

 private:
  void InitProperty() { BindFromSchema(D::Schema()); }
};

// Section-side operations used by the section classes' definitions.
DICOMSETTINGS_API void BindSection(CAccessLibraryBaseCpp& section, const wchar_t* path,
                                   const SectionSchema& schema);
DICOMSETTINGS_API void CopySectionValues(CAccessLibraryBaseCpp& to, CAccessLibraryBaseCpp& from,
                                         const SectionSchema& schema);
// Number of nodes of a section's list in path, clamped to its capacity; 0 when the
// store call fails.
DICOMSETTINGS_API int CountSectionList(const wchar_t* path, const ListField& list);

namespace schema_detail {

template <class T>
struct MemberTraits;
template <class O, class T>
struct MemberTraits<T O::*> {
  using Owner = O;
  using Type = T;
};

// The framework base an owner's tables reach it through.
template <class O>
using FrameworkBase =
    std::conditional_t<std::is_base_of_v<ElementCore, O>, ElementCore, CAccessLibraryBaseCpp>;

template <auto Member>
ProxyCore& ProxyAt(void* owner) {
  using O = typename MemberTraits<decltype(Member)>::Owner;
  return static_cast<O*>(static_cast<FrameworkBase<O>*>(owner))->*Member;
}

template <auto Member>
ElementCore& ElementAt(void* owner, int index) {
  using O = typename MemberTraits<decltype(Member)>::Owner;
  return (static_cast<O*>(static_cast<FrameworkBase<O>*>(owner))->*Member)[index];
}

template <class P>
constexpr ValueKind KindOf() {
  if constexpr (std::is_same_v<P, IntProxy>) return ValueKind::Integer;
  if constexpr (std::is_same_v<P, DoubleProxy>) return ValueKind::FloatingPoint;
  if constexpr (std::is_same_v<P, BoolProxy>) return ValueKind::Boolean;
  if constexpr (std::is_same_v<P, StringProxy>) return ValueKind::String;
}

template <class S>
CAccessLibraryBaseCpp* Create(const wchar_t* path) {
  return new S(path);
}
template <class S>
void Destroy(CAccessLibraryBaseCpp* section) {
  delete static_cast<S*>(section);
}
template <class S>
void Assign(CAccessLibraryBaseCpp& to, CAccessLibraryBaseCpp& from) {
  static_cast<S&>(to) = static_cast<S&>(from);
}

}  // namespace schema_detail

// A table row for the proxy member Member, bound to key.
template <auto Member>
constexpr ValueField Value(const wchar_t* key) {
  using P = typename schema_detail::MemberTraits<decltype(Member)>::Type;
  return ValueField{key, schema_detail::KindOf<P>(), &schema_detail::ProxyAt<Member>};
}

// A table row for the element array Member, bound to the list key.
template <auto Member>
constexpr ListField List(const wchar_t* key) {
  using A = typename schema_detail::MemberTraits<decltype(Member)>::Type;
  using E = std::remove_extent_t<A>;
  return ListField{key, static_cast<int>(std::extent_v<A>), &E::Schema,
                   &schema_detail::ElementAt<Member>};
}

// Marks a class with no values or no lists.
constexpr std::nullptr_t kNone = nullptr;

namespace schema_detail {
template <size_t N>
constexpr int CountOf(const ValueField (&)[N]) {
  return static_cast<int>(N);
}
template <size_t N>
constexpr int CountOf(const ListField (&)[N]) {
  return static_cast<int>(N);
}
constexpr int CountOf(std::nullptr_t) {
  return 0;
}
template <size_t N>
constexpr const ValueField* First(const ValueField (&rows)[N]) {
  return rows;
}
template <size_t N>
constexpr const ListField* First(const ListField (&rows)[N]) {
  return rows;
}
constexpr std::nullptr_t First(std::nullptr_t) {
  return nullptr;
}
}  // namespace schema_detail

template <class V, class L>
constexpr ElementSchema MakeElementSchema(const char* className, const V& values, const L& lists) {
  return ElementSchema{className, schema_detail::First(values), schema_detail::CountOf(values),
                       schema_detail::First(lists), schema_detail::CountOf(lists)};
}

template <class S, class V, class L>
constexpr SectionSchema MakeSectionSchema(const char* area, const char* className, const V& values,
                                          const L& lists) {
  return SectionSchema{area,
                       className,
                       schema_detail::First(values),
                       schema_detail::CountOf(values),
                       schema_detail::First(lists),
                       schema_detail::CountOf(lists),
                       &schema_detail::Create<S>,
                       &schema_detail::Destroy<S>,
                       &schema_detail::Assign<S>};
}

}  // namespace DicomAccessLibraryCpp

// The section operations every section class declares (inside its class body).
#define DICOMSETTINGS_SECTION(Class)                             \
 public:                                                         \
  explicit Class(const wchar_t* path);                           \
  Class(const wchar_t* path, int comInitFlag);                   \
  Class(const Class& other);                                     \
  ~Class();                                                      \
  Class& operator=(Class& other);                                \
  static const ::DicomAccessLibraryCpp::SectionSchema& Schema(); \
                                                                 \
 private:                                                        \
  void InitProperty();                                           \
                                                                 \
 public:

// Their definitions, from the class's key table (in its source file).
#define DICOMSETTINGS_DEFINE_SECTION(Class, area, values, lists)                                  \
  Class::Class(const wchar_t* path) : Class(path, 1) {}                                           \
  Class::Class(const wchar_t* path, int comInitFlag) : CAccessLibraryBaseCpp(path, comInitFlag) { \
    InitProperty();                                                                               \
  }                                                                                               \
  Class::Class(const Class& other) : CAccessLibraryBaseCpp(other) {                               \
    InitProperty();                                                                               \
  }                                                                                               \
  Class::~Class() = default;                                                                      \
  Class& Class::operator=(Class& other) {                                                         \
    if (this != &other) ::DicomAccessLibraryCpp::CopySectionValues(*this, other, Schema());       \
    return *this;                                                                                 \
  }                                                                                               \
  void Class::InitProperty() {                                                                    \
    ::DicomAccessLibraryCpp::BindSection(*this, GetFilePath(), Schema());                         \
  }                                                                                               \
  const ::DicomAccessLibraryCpp::SectionSchema& Class::Schema() {                                 \
    static const ::DicomAccessLibraryCpp::SectionSchema schema =                                  \
        ::DicomAccessLibraryCpp::MakeSectionSchema<Class>(area, #Class, values, lists);           \
    return schema;                                                                                \
  }

// An element class's table accessor, from its key table (in its source file).
#define DICOMSETTINGS_DEFINE_ELEMENT(Class, values, lists)                 \
  const ::DicomAccessLibraryCpp::ElementSchema& Class::Schema() {          \
    static const ::DicomAccessLibraryCpp::ElementSchema schema =           \
        ::DicomAccessLibraryCpp::MakeElementSchema(#Class, values, lists); \
    return schema;                                                         \
  }

#endif
