// Walks two readings side by side: values by their place in the table, list
// entries by index up to the longer side's count.
#include "AreaDiff.h"

#include <algorithm>

#include "KeyTreeStore.h"

namespace dicomsettings_tool {
namespace {

std::optional<std::wstring> TextOf(const std::vector<ValueReading>* values, size_t i) {
  if (values == nullptr || i >= values->size()) return std::nullopt;
  const ValueReading& value = (*values)[i];
  if (value.result != STORE_OK) return std::nullopt;
  return value.text;
}

template <class T>
const T* At(const std::vector<T>* items, size_t i) {
  return items != nullptr && i < items->size() ? &(*items)[i] : nullptr;
}

void CompareLevel(const std::vector<ValueReading>* aValues, const std::vector<ListReading>* aLists,
                  const std::vector<ValueReading>* bValues, const std::vector<ListReading>* bLists,
                  std::vector<Difference>* out) {
  const size_t valueCount = std::max(aValues ? aValues->size() : 0, bValues ? bValues->size() : 0);
  for (size_t v = 0; v < valueCount; ++v) {
    std::optional<std::wstring> first = TextOf(aValues, v);
    std::optional<std::wstring> second = TextOf(bValues, v);
    if (first == second) continue;
    const ValueReading* named = At(aValues, v) != nullptr ? At(aValues, v) : At(bValues, v);
    out->push_back(Difference{named->key, std::move(first), std::move(second)});
  }
  const size_t listCount = std::max(aLists ? aLists->size() : 0, bLists ? bLists->size() : 0);
  for (size_t l = 0; l < listCount; ++l) {
    const ListReading* aList = At(aLists, l);
    const ListReading* bList = At(bLists, l);
    const size_t entries =
        std::max(aList ? aList->entries.size() : 0, bList ? bList->entries.size() : 0);
    for (size_t e = 0; e < entries; ++e) {
      const EntryReading* aEntry = aList ? At(&aList->entries, e) : nullptr;
      const EntryReading* bEntry = bList ? At(&bList->entries, e) : nullptr;
      CompareLevel(aEntry ? &aEntry->values : nullptr, aEntry ? &aEntry->lists : nullptr,
                   bEntry ? &bEntry->values : nullptr, bEntry ? &bEntry->lists : nullptr, out);
    }
  }
}

}  // namespace

std::vector<Difference> CompareAreas(const AreaReading& a, const AreaReading& b) {
  std::vector<Difference> differences;
  CompareLevel(&a.values, &a.lists, &b.values, &b.lists, &differences);
  return differences;
}

bool ReadAreas(SettingsFile& file, const std::vector<const SectionSchema*>& areas,
               std::vector<AreaReading>* readings, std::string* why) {
  readings->assign(areas.size(), AreaReading());
  for (size_t i = 0; i < areas.size(); ++i) {
    if (!ReadArea(file, *areas[i], &(*readings)[i])) {
      *why = std::string("cannot open area ") + areas[i]->area;
      return false;
    }
  }
  return true;
}

std::vector<Difference> CompareReadings(const std::vector<AreaReading>& a,
                                        const std::vector<AreaReading>& b) {
  std::vector<Difference> differences;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    for (Difference& difference : CompareAreas(a[i], b[i]))
      differences.push_back(std::move(difference));
  }
  return differences;
}

bool CompareFiles(SettingsFile& first, SettingsFile& second,
                  const std::vector<const SectionSchema*>& areas,
                  std::vector<Difference>* differences, std::string* why) {
  std::vector<AreaReading> a;
  std::vector<AreaReading> b;
  differences->clear();
  if (!ReadAreas(first, areas, &a, why) || !ReadAreas(second, areas, &b, why)) return false;
  *differences = CompareReadings(a, b);
  return true;
}

}  // namespace dicomsettings_tool
