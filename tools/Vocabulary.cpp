// Areas and keys from AllSections and FindSection.
#include "Vocabulary.h"

#include <algorithm>
#include <cwchar>

#include "Nearest.h"
#include "WideText.h"

namespace dicomsettings_tool {
namespace {

void AddKeys(const std::wstring& prefix, const ValueField* values, int valueCount,
             const ListField* lists, int listCount, std::vector<std::string>* keys) {
  for (int v = 0; v < valueCount; ++v) keys->push_back(ToUtf8(prefix + values[v].key));
  for (int l = 0; l < listCount; ++l) {
    const std::wstring list = prefix + lists[l].key;
    keys->push_back(ToUtf8(list));
    const ElementSchema& element = lists[l].element();
    AddKeys(list + L"[0]", element.values, element.valueCount, element.lists, element.listCount,
            keys);
  }
}

}  // namespace

std::vector<const SectionSchema*> AllAreas() {
  int count = 0;
  const SectionSchema* const* all = DicomAccessLibraryCpp::AllSections(&count);
  return std::vector<const SectionSchema*>(all, all + count);
}

std::string AreaNameList() {
  std::string names;
  for (const SectionSchema* area : AllAreas()) {
    if (!names.empty()) names += ", ";
    names += area->area;
  }
  return names;
}

std::wstring AreaKey(const SectionSchema& area) {
  const wchar_t* key = area.valueCount > 0 ? area.values[0].key : area.lists[0].key;
  const wchar_t* end = std::wcschr(key + 1, L'/');
  return end != nullptr ? std::wstring(key, end) : std::wstring(key);
}

bool SelectAreas(const std::vector<std::string>& names, std::vector<const SectionSchema*>* areas,
                 std::string* why) {
  areas->clear();
  if (names.empty() || (names.size() == 1 && names.front() == "all")) {
    *areas = AllAreas();
    return true;
  }
  for (const std::string& name : names) {
    const SectionSchema* area = DicomAccessLibraryCpp::FindSection(name.c_str());
    if (area == nullptr) {
      std::vector<std::string> known;
      for (const SectionSchema* each : AllAreas()) known.emplace_back(each->area);
      *why = "unknown area \"" + name + "\"" + DidYouMean(name, known) + "; the areas are " +
             AreaNameList();
      return false;
    }
    if (std::find(areas->begin(), areas->end(), area) == areas->end()) areas->push_back(area);
  }
  return true;
}

std::vector<std::string> KnownKeys() {
  std::vector<std::string> keys;
  for (const SectionSchema* area : AllAreas()) {
    AddKeys(std::wstring(), area->values, area->valueCount, area->lists, area->listCount, &keys);
  }
  return keys;
}

std::vector<std::string> KeyNames(const wchar_t* key) {
  std::vector<std::string> names;
  const std::wstring text(key);
  size_t start = 0;
  while (start < text.size()) {
    if (text[start] == L'/') {
      ++start;
      continue;
    }
    const size_t end = std::min(text.find(L'/', start), text.size());
    names.push_back(ToUtf8(text.substr(start, end - start)));
    start = end;
  }
  return names;
}

}  // namespace dicomsettings_tool
