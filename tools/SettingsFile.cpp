// Opening, section objects and saving of one settings file.
#include "SettingsFile.h"

#include "Diagnostics.h"
#include "WideText.h"

namespace dicomsettings_tool {

std::string DescribeParseError(const StoreParseError& error) {
  if (error.line <= 0) return error.text;
  return "line " + std::to_string(error.line) + ", column " + std::to_string(error.column) + ": " +
         error.text;
}

int OpenOrReport(SettingsFile& file) {
  std::string why;
  return file.Open(&why) ? kExitSuccess : ReportError(kExitUsage, file.Name(), why);
}

std::string FailureText(const std::wstring& path) {
  StoreFailure failure;
  StoreLastFailure(path.c_str(), &failure);
  return failure.result != STORE_OK ? failure.text : "failed for a reason the store did not keep";
}

SettingsFile::SettingsFile(std::string name) : name_(std::move(name)) {}

SettingsFile::SectionPtr SettingsFile::OpenSection(const SectionSchema& area, int* result) {
  SectionPtr section(area.create(path_.c_str()), Closer{&area});
  *result = section->Open();
  if (*result != STORE_OK) section.reset();
  return section;
}

bool SettingsFile::Open(std::string* why) {
  if (!ToWide(name_, &path_) || path_.empty()) {
    *why = "not a usable file name";
    return false;
  }
  if (path_.size() > static_cast<size_t>(AccessLibraryBaseCpp::kMaxPathLength)) {
    *why = "path longer than " + std::to_string(AccessLibraryBaseCpp::kMaxPathLength) +
           " characters, which the settings library cannot name";
    return false;
  }
  const SectionSchema& first = *AllAreas().front();
  int result = STORE_OK;
  SectionPtr section = OpenSection(first, &result);
  if (result == STORE_E_PARSE) {
    StoreParseError error;
    StoreCheckFile(path_.c_str(), &error);
    *why = error.result == STORE_E_PARSE ? DescribeParseError(error) : FailureText(path_);
    return false;
  }
  if (result != STORE_OK) {
    *why = FailureText(path_);
    return false;
  }
  sections_.emplace(&first, std::move(section));
  return true;
}

CAccessLibraryBaseCpp* SettingsFile::Section(const SectionSchema& area) {
  auto found = sections_.find(&area);
  if (found != sections_.end()) return found->second.get();
  int result = STORE_OK;
  SectionPtr section = OpenSection(area, &result);
  if (!section) return nullptr;
  return sections_.emplace(&area, std::move(section)).first->second.get();
}

std::optional<ObjectLevel> SettingsFile::Level(const SectionSchema& area) {
  CAccessLibraryBaseCpp* section = Section(area);
  if (section == nullptr) return std::nullopt;
  return ObjectLevel(*section, area, Path());
}

bool SettingsFile::Save(std::string* why) {
  if (sections_.empty()) {
    *why = AccessLibraryBaseCpp::ResultText(STORE_E_NOT_OPEN);
    return false;
  }
  const int result = sections_.begin()->second->Save();
  if (result != STORE_OK) *why = "saving failed: " + FailureText(path_);
  return result == STORE_OK;
}

}  // namespace dicomsettings_tool
