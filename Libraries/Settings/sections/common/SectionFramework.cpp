// Binding, counting and value copying of section objects and list elements,
// driven by their key tables.
#include "SectionFramework.h"

#include <cwchar>

#include "KeyTreeStore.h"

namespace DicomAccessLibraryCpp {

using AccessLibraryBaseCpp::kMaxKeyLength;
using AccessLibraryBaseCpp::kMaxPathLength;
using AccessLibraryBaseCpp::kWrongOpenState;
using AccessLibraryBaseCpp::SharedText;

namespace {

// Writes "[index]" with its NUL to out (16 characters hold any int); a list
// element is bound for every position of every list, and swprintf's stream
// machinery took most of the time of building a section.
void WriteIndexSuffix(int index, wchar_t* out) {
  wchar_t digits[12];
  size_t count = 0;
  // Taken as unsigned, so that the lowest int has a magnitude too.
  unsigned magnitude = index < 0 ? 0u - static_cast<unsigned>(index) : static_cast<unsigned>(index);
  do {
    digits[count++] = static_cast<wchar_t>(L'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  *out++ = L'[';
  if (index < 0) *out++ = L'-';
  while (count > 0) *out++ = digits[--count];
  *out++ = L']';
  *out = L'\0';
}

// "<list><middle>[index]" as a node key, or none when it would not fit in 511
// characters: a key is never cut short into another node's key.
SharedText MakeNodeKey(const wchar_t* list, const wchar_t* middle, int index) {
  if (list == nullptr) return SharedText();
  wchar_t suffix[16];
  WriteIndexSuffix(index, suffix);
  const size_t listLength = wcsnlen(list, kMaxKeyLength + 1);
  const size_t middleLength = middle != nullptr ? wcsnlen(middle, kMaxKeyLength + 1) : 0;
  const size_t length = listLength + middleLength + wcslen(suffix);
  if (length > static_cast<size_t>(kMaxKeyLength)) return SharedText();
  wchar_t key[kMaxKeyLength + 1];
  wmemcpy(key, list, listLength);
  if (middleLength != 0) wmemcpy(key + listLength, middle, middleLength);
  wcscpy(key + listLength + middleLength, suffix);
  return SharedText(key, length);
}

// The copy of a path that an element's proxies share; a path over the limit
// becomes the empty path, which names no file.
SharedText PathCopy(const wchar_t* path) {
  if (path == nullptr) return SharedText();
  const size_t length = wcsnlen(path, kMaxPathLength + 1);
  if (length > static_cast<size_t>(kMaxPathLength)) return SharedText(L"", 0);
  return SharedText(path, length);
}

int ClampCount(int result, int count, int capacity) {
  if (result != STORE_OK) return 0;
  return count > capacity ? capacity : count;
}

}  // namespace

struct SchemaBinding {
  static void Point(ElementCore& element, const wchar_t* path, SharedText nodeKey, int index) {
    element.m_filePath = path;
    element.m_index = index;
    element.m_nodeKey = std::move(nodeKey);
  }

  static void BindElement(ElementCore& element, const ElementSchema& schema,
                          const SharedText& path) {
    for (int v = 0; v < schema.valueCount; ++v) {
      const ValueField& field = schema.values[v];
      // Without a node key there is no key to bind to: the proxy is left unbound.
      if (element.m_nodeKey) {
        field.proxy(&element).BindShared(path, element.m_nodeKey, field.key);
      } else {
        field.proxy(&element).BindShared(SharedText(), SharedText(), nullptr);
      }
    }
    for (int l = 0; l < schema.listCount; ++l) {
      const ListField& list = schema.lists[l];
      for (int j = 0; j < list.capacity; ++j) {
        ElementCore& nested = list.at(&element, j);
        Point(nested, element.m_filePath, MakeNodeKey(element.m_nodeKey.c_str(), list.key, j), j);
        BindElement(nested, list.element(), path);
      }
    }
  }

  static void CopyValues(ElementCore& to, ElementCore& from, const ElementSchema& schema) {
    for (int v = 0; v < schema.valueCount; ++v) {
      schema.values[v].proxy(&to).CopyValueFrom(schema.values[v].proxy(&from));
    }
    for (int l = 0; l < schema.listCount; ++l) {
      const ListField& list = schema.lists[l];
      for (int j = 0; j < list.capacity; ++j) {
        CopyValues(list.at(&to, j), list.at(&from, j), list.element());
      }
    }
  }
};

int ElementCore::CountNested(const ListField& list) const {
  // An over-long path names no file here, as it names none for the proxies.
  if (m_filePath == nullptr || !m_nodeKey) return 0;
  if (wcsnlen(m_filePath, kMaxPathLength + 1) > static_cast<size_t>(kMaxPathLength)) return 0;
  const size_t head = m_nodeKey.length();
  const size_t tail = wcslen(list.key);
  if (head + tail > static_cast<size_t>(kMaxKeyLength)) return 0;
  wchar_t key[kMaxKeyLength + 1];
  wmemcpy(key, m_nodeKey.c_str(), head);
  wcscpy(key + head, list.key);
  int count = 0;
  const int result = StoreGetNodeCount(&count, m_filePath, key);
  return ClampCount(result, count, list.capacity);
}

int ElementCore::InitializeAt(const ElementSchema& schema, const wchar_t* path,
                              const wchar_t* listKey, int index) {
  SchemaBinding::Point(*this, path, MakeNodeKey(listKey, nullptr, index), index);
  SchemaBinding::BindElement(*this, schema, PathCopy(path));
  return m_nodeKey ? 0 : kWrongOpenState;
}

void ElementCore::BindFromSchema(const ElementSchema& schema) {
  SchemaBinding::BindElement(*this, schema, PathCopy(m_filePath));
}

void BindSection(CAccessLibraryBaseCpp& section, const wchar_t* path, const SectionSchema& schema) {
  const SharedText shared = PathCopy(path);
  for (int v = 0; v < schema.valueCount; ++v) {
    schema.values[v].proxy(&section).BindShared(shared, SharedText(), schema.values[v].key);
  }
  for (int l = 0; l < schema.listCount; ++l) {
    const ListField& list = schema.lists[l];
    for (int i = 0; i < list.capacity; ++i) {
      ElementCore& element = list.at(&section, i);
      SchemaBinding::Point(element, path, MakeNodeKey(list.key, nullptr, i), i);
      SchemaBinding::BindElement(element, list.element(), shared);
    }
  }
}

void CopySectionValues(CAccessLibraryBaseCpp& to, CAccessLibraryBaseCpp& from,
                       const SectionSchema& schema) {
  for (int v = 0; v < schema.valueCount; ++v) {
    schema.values[v].proxy(&to).CopyValueFrom(schema.values[v].proxy(&from));
  }
  for (int l = 0; l < schema.listCount; ++l) {
    const ListField& list = schema.lists[l];
    for (int i = 0; i < list.capacity; ++i) {
      SchemaBinding::CopyValues(list.at(&to, i), list.at(&from, i), list.element());
    }
  }
}

int CountSectionList(const wchar_t* path, const ListField& list) {
  int count = 0;
  const int result = StoreGetNodeCount(&count, path, list.key);
  return ClampCount(result, count, list.capacity);
}

ElementCore& SectionElement(CAccessLibraryBaseCpp& section, const ListField& list, int index) {
  return list.at(&section, index);
}

AccessLibraryBaseCpp::ProxyCore& ElementValue(ElementCore& element, const ValueField& field) {
  return field.proxy(&element);
}

ElementCore& NestedElement(ElementCore& element, const ListField& list, int index) {
  return list.at(&element, index);
}

const char* ValueKindName(ValueKind kind) {
  switch (kind) {
    case ValueKind::Integer:
      return "integer";
    case ValueKind::FloatingPoint:
      return "floating-point";
    case ValueKind::Boolean:
      return "boolean";
    case ValueKind::String:
      return "string";
  }
  return "unknown";
}

}  // namespace DicomAccessLibraryCpp
