// The recording stand-in store: the C functions of KeyTreeStore.h over one
// RecordingStore (see RecordingStore.h).
#include "RecordingStore.h"

#include <cwchar>

#include "KeyTreeStore.h"

namespace {

std::wstring TextOf(const wchar_t* text) {
  return text != nullptr ? std::wstring(text) : L"";
}

int Record(const char* function, const wchar_t* path, const wchar_t* key = nullptr,
           const wchar_t* value = nullptr, int comInitFlag = 0) {
  return Recorder().Record(
      StoreCall{function, path == nullptr, TextOf(path), TextOf(key), TextOf(value), comInitFlag});
}

}  // namespace

std::vector<std::wstring> RecordingStore::Trace() const {
  std::vector<std::wstring> lines;
  for (const StoreCall& call : calls) {
    std::wstring line(call.function.begin(), call.function.end());
    line += L" " + call.path;
    if (!call.key.empty()) line += L" " + call.key;
    if (call.function == "StoreSetValue") line += L"=" + call.value;
    lines.push_back(line);
  }
  return lines;
}

int RecordingStore::Record(StoreCall call) {
  const auto scripted = results.find(call.function);
  calls.push_back(std::move(call));
  return scripted != results.end() ? scripted->second : STORE_OK;
}

RecordingStore& Recorder() {
  static RecordingStore recorder;
  return recorder;
}

extern "C" {

int StoreOpen(const wchar_t* path, int comInitFlag) {
  return Record("StoreOpen", path, nullptr, nullptr, comInitFlag);
}

int StoreClose(const wchar_t* path, int comInitFlag) {
  return Record("StoreClose", path, nullptr, nullptr, comInitFlag);
}

int StoreLoad(const wchar_t* path) {
  return Record("StoreLoad", path);
}

int StoreSave(const wchar_t* path) {
  return Record("StoreSave", path);
}

int StoreGetValue(wchar_t* buffer, const wchar_t* path, const wchar_t* key) {
  const int result = Record("StoreGetValue", path, key);
  if (result != STORE_OK) return result;
  const auto value = Recorder().values.find(TextOf(key));
  if (value == Recorder().values.end()) return STORE_E_NOT_FOUND;
  if (value->second.size() > STORE_MAX_VALUE_LENGTH) return STORE_E_TOO_LONG;
  wmemcpy(buffer, value->second.c_str(), value->second.size() + 1);
  return STORE_OK;
}

int StoreSetValue(const wchar_t* path, const wchar_t* key, const wchar_t* value) {
  return Record("StoreSetValue", path, key, value);
}

int StoreGetNodeCount(int* count, const wchar_t* path, const wchar_t* key) {
  const int result = Record("StoreGetNodeCount", path, key);
  if (count != nullptr) *count = Recorder().nodeCount;
  return result;
}

int StoreDataUpdateCheck(int* updated, const wchar_t* path) {
  const int result = Record("StoreDataUpdateCheck", path);
  if (updated != nullptr && Recorder().updated) *updated = *Recorder().updated;
  return result;
}

int StoreWatch(const wchar_t* path, int* fd) {
  const int result = Record("StoreWatch", path);
  if (fd != nullptr) *fd = 7;
  return result;
}

int StoreWaitForChange(const wchar_t* path, int, int* changed) {
  const int result = Record("StoreWaitForChange", path);
  if (changed != nullptr && Recorder().updated) *changed = *Recorder().updated;
  return result;
}

int StoreUnwatch(const wchar_t* path) {
  return Record("StoreUnwatch", path);
}

const char* StoreResultText(int) {
  return "recorded";
}

}  // extern "C"
