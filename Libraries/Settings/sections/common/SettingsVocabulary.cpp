// The list of every section class's key table, for tools that walk them all.
#include <cstring>

#include "DicomSettings.h"

namespace DicomAccessLibraryCpp {
namespace {

using SchemaOf = const SectionSchema& (*)();
constexpr SchemaOf kSections[] = {
    &CEchoScuSetting::Schema,     &CStorageScuSetting::Schema,    &CPrintScuSetting::Schema,
    &CPrintNeventSetting::Schema, &CMediaScuSetting::Schema,      &CScScuRecvSetting::Schema,
    &CScScuSendSetting::Schema,   &CDetachScuRecvSetting::Schema, &CDetachScuSendSetting::Schema,
    &CMwmScuSetting::Schema,      &CMwmScuInfoSetting::Schema,    &CMppsScuSetting::Schema,
    &CDicomSetupSetting::Schema,  &CDicomClientSetting::Schema,   &CDicomErrorSetting::Schema,
    &CSpecificCharConv::Schema,
};
constexpr int kSectionCount = static_cast<int>(sizeof kSections / sizeof kSections[0]);

}  // namespace

const SectionSchema* const* AllSections(int* count) {
  static const SectionSchema* const* all = [] {
    static const SectionSchema* tables[kSectionCount];
    for (int i = 0; i < kSectionCount; ++i) tables[i] = &kSections[i]();
    return tables;
  }();
  if (count != nullptr) *count = kSectionCount;
  return all;
}

const SectionSchema* FindSection(const char* area) {
  int count = 0;
  const SectionSchema* const* all = AllSections(&count);
  for (int i = 0; area != nullptr && i < count; ++i) {
    if (std::strcmp(all[i]->area, area) == 0) return all[i];
  }
  return nullptr;
}

}  // namespace DicomAccessLibraryCpp
