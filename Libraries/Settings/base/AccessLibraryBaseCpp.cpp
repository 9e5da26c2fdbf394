// The access base: one settings file's path and this object's open of it.
#include "AccessLibraryBaseCpp.h"

#include <cwchar>

#include "KeyTreeStore.h"
#include "ValueText.h"

namespace AccessLibraryBaseCpp {
namespace {

// Copies path whole into buffer (kMaxPathLength + 1), or leaves the empty path
// when it is null or too long: a path is never cut short into another file's.
void CopyPath(wchar_t* buffer, const wchar_t* path) {
  buffer[0] = L'\0';
  if (path == nullptr) return;
  const size_t length = wcsnlen(path, kMaxPathLength + 1);
  if (length > static_cast<size_t>(kMaxPathLength)) return;
  wmemcpy(buffer, path, length + 1);
}

}  // namespace

const char* ResultText(int result) {
  if (result == kWrongOpenState) return "the object is not in the right open state";
  return StoreResultText(result);
}

CAccessLibraryBaseCpp::CAccessLibraryBaseCpp(const wchar_t* path)
    : CAccessLibraryBaseCpp(path, 1) {}

CAccessLibraryBaseCpp::CAccessLibraryBaseCpp(const wchar_t* path, int comInitFlag)
    : m_openFlag(0), m_comInitFlag(comInitFlag), m_reserved(0) {
  CopyPath(m_filePath, path);
}

CAccessLibraryBaseCpp::CAccessLibraryBaseCpp(const CAccessLibraryBaseCpp& other)
    : m_openFlag(0), m_comInitFlag(other.m_comInitFlag), m_reserved(0) {
  CopyPath(m_filePath, other.m_filePath);
  if (other.m_openFlag != 0 && StoreOpen(m_filePath, m_comInitFlag) == STORE_OK) m_openFlag = 1;
}

CAccessLibraryBaseCpp::~CAccessLibraryBaseCpp() {
  if (m_openFlag != 0) StoreClose(m_filePath, m_comInitFlag);
}

CAccessLibraryBaseCpp& CAccessLibraryBaseCpp::operator=(const CAccessLibraryBaseCpp& other) {
  if (this == &other) return *this;
  if (m_openFlag != 0) StoreClose(m_filePath, m_comInitFlag);
  m_openFlag = 0;
  CopyPath(m_filePath, other.m_filePath);
  m_comInitFlag = other.m_comInitFlag;
  m_reserved = other.m_reserved;
  if (other.m_openFlag != 0 && StoreOpen(m_filePath, m_comInitFlag) == STORE_OK) m_openFlag = 1;
  return *this;
}

int CAccessLibraryBaseCpp::Open() {
  if (m_openFlag != 0) return kWrongOpenState;
  const int result = StoreOpen(m_filePath, m_comInitFlag);
  if (result == STORE_OK) m_openFlag = 1;
  return result;
}

int CAccessLibraryBaseCpp::Close() {
  if (m_openFlag == 0) return kWrongOpenState;
  const int result = StoreClose(m_filePath, m_comInitFlag);
  if (result == STORE_OK) m_openFlag = 0;
  return result;
}

int CAccessLibraryBaseCpp::Save() {
  if (m_openFlag == 0) return kWrongOpenState;
  return StoreSave(m_filePath);
}

int CAccessLibraryBaseCpp::Load() {
  if (m_openFlag == 0) return kWrongOpenState;
  return StoreLoad(m_filePath);
}

int CAccessLibraryBaseCpp::GetDataUpdateCheck() {
  int updated = 0;
  StoreDataUpdateCheck(&updated, m_filePath);
  return updated;
}

int CAccessLibraryBaseCpp::Watch(int* fd) {
  if (m_openFlag == 0) return kWrongOpenState;
  return StoreWatch(m_filePath, fd);
}

int CAccessLibraryBaseCpp::WaitForChange(int timeoutMs, int* changed) {
  if (m_openFlag == 0) return kWrongOpenState;
  return StoreWaitForChange(m_filePath, timeoutMs, changed);
}

int CAccessLibraryBaseCpp::Unwatch() {
  if (m_openFlag == 0) return kWrongOpenState;
  return StoreUnwatch(m_filePath);
}

int CAccessLibraryBaseCpp::GetEnabled() {
  return 1;
}

wchar_t* CAccessLibraryBaseCpp::GetFilePath() {
  return m_filePath;
}

int CAccessLibraryBaseCpp::GetComInitFlag() {
  return m_comInitFlag;
}

int CAccessLibraryBaseCpp::FilePathCheck(const wchar_t* path) {
  return path != nullptr && HasAcceptablePathForm(path) ? 1 : 0;
}

}  // namespace AccessLibraryBaseCpp
