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

std::string PathHint(const std::string& name, int result) {
  // A scheme mistyped ("etc://", "etcd:/", "http://") makes a file path.
  const size_t colon = name.find(':');
  const bool scheme = colon != std::string::npos && colon > 0 && colon < 6 &&
                      name.find_first_not_of("abcdefghijklmnopqrstuvwxyz") == colon &&
                      name.compare(colon + 1, 1, "/") == 0;
  if (scheme && name.compare(0, 7, "etcd://") != 0) {
    const size_t rest = name.find_first_not_of('/', colon + 1);
    return " (did you mean \"etcd://" +
           name.substr(rest == std::string::npos ? name.size() : rest) + "\"?)";
  }
  if (result == STORE_E_NO_FILE) return "; `dicom-settings init " + name + "` starts it";
  return std::string();
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

bool FetchText(const std::function<int(char*, size_t, size_t*)>& fetch, std::string* bytes) {
  size_t length = 0;
  int result = fetch(nullptr, 0, &length);
  if (result == STORE_E_TOO_LONG) {
    bytes->resize(length + 1);
    result = fetch(bytes->data(), bytes->size(), &length);
    bytes->resize(length);
  }
  return result == STORE_OK;
}

bool ExportText(const std::wstring& path, std::string* bytes) {
  return FetchText(
      [&](char* buffer, size_t capacity, size_t* length) {
        return StoreExportText(path.c_str(), buffer, capacity, length);
      },
      bytes);
}

std::string SourcePath(const wchar_t* path, int depth) {
  std::wstring source(STORE_MAX_PATH_LENGTH + 1, L'\0');
  if (StoreGetSource(&source[0], source.size(), path, depth) != STORE_OK) return std::string();
  return ToUtf8(source.c_str());
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
    // A fault without a line lies in an etcd area or in a source the file
    // extends: the store's text names it.
    *why = error.line > 0 ? DescribeParseError(error) : FailureText(path_);
    return false;
  }
  if (result != STORE_OK) {
    *why = FailureText(path_) + PathHint(name_, result);
    return false;
  }
  sections_.emplace(&first, std::move(section));
  StoreCopyStatus copy;
  if (StoreGetCopyStatus(path_.c_str(), &copy) == STORE_OK && copy.served) {
    // Reads go on from the copy; a save will fail while the cluster stays away.
    ReportError(kExitSuccess, name_,
                std::string("served from the copy kept at ") + copy.kept + ", revision " +
                    std::to_string(copy.revision) + ": the cluster did not answer");
  }
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

std::string SettingsFile::Origin(const std::wstring& key) const {
  int depth = 0;
  if (StoreGetOrigin(&depth, path_.c_str(), key.c_str()) != STORE_OK) return std::string();
  return depth == 0 ? name_ : SourcePath(path_.c_str(), depth);
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
