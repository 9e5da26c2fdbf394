// Section and element access through the library's table functions.
#include "ObjectLevel.h"

namespace dicomsettings_tool {

ObjectLevel::ObjectLevel(AccessLibraryBaseCpp::CAccessLibraryBaseCpp& section,
                         const SectionSchema& area, const wchar_t* path)
    : values(area.values),
      valueCount(area.valueCount),
      lists(area.lists),
      listCount(area.listCount),
      section_(&section),
      path_(path) {}

ObjectLevel::ObjectLevel(DicomAccessLibraryCpp::ElementCore& element, const ElementSchema& schema)
    : values(schema.values),
      valueCount(schema.valueCount),
      lists(schema.lists),
      listCount(schema.listCount),
      element_(&element) {}

AccessLibraryBaseCpp::ProxyCore& ObjectLevel::Proxy(const ValueField& value) const {
  return section_ != nullptr ? DicomAccessLibraryCpp::SectionValue(*section_, value)
                             : DicomAccessLibraryCpp::ElementValue(*element_, value);
}

int ObjectLevel::Count(const ListField& list) const {
  return section_ != nullptr ? DicomAccessLibraryCpp::CountSectionList(path_, list)
                             : element_->CountNested(list);
}

ObjectLevel ObjectLevel::Entry(const ListField& list, int index) const {
  DicomAccessLibraryCpp::ElementCore& entry =
      section_ != nullptr ? DicomAccessLibraryCpp::SectionElement(*section_, list, index)
                          : DicomAccessLibraryCpp::NestedElement(*element_, list, index);
  return ObjectLevel(entry, list.element());
}

std::wstring ObjectLevel::NodeKey() const {
  const wchar_t* key = element_ != nullptr ? element_->GetNodeKey() : nullptr;
  return key != nullptr ? key : L"";
}

}  // namespace dicomsettings_tool
