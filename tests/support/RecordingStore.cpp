// The recording stand-in store: the C functions of KeyTreeStore.h over one
// RecordingStore (see RecordingStore.h).
#include "RecordingStore.h"

#include <cwchar>

#include "KeyTreeStore.h"

namespace {

std::wstring TextOf(const wchar_t* text) {
  return text != nullptr ? std::wstring(text) : L"";
}

StoreCall Call(const char* function, const wchar_t* path) {
  StoreCall call;
  call.function = function;
  call.pathNull = path == nullptr;
  call.path = TextOf(path);
  return call;
}

StoreCall KeyCall(const char* function, const wchar_t* path, const wchar_t* key) {
  StoreCall call = Call(function, path);
  call.key = TextOf(key);
  return call;
}

StoreCall FlagCall(const char* function, const wchar_t* path, int comInitFlag) {
  StoreCall call = Call(function, path);
  call.comInitFlag = comInitFlag;
  return call;
}

}  // namespace

void RecordingStore::Reset() {
  *this = RecordingStore();
}

size_t RecordingStore::CountOf(const std::string& function) const {
  return CallsOf(function).size();
}

std::vector<StoreCall> RecordingStore::CallsOf(const std::string& function) const {
  std::vector<StoreCall> found;
  for (const StoreCall& call : calls) {
    if (call.function == function) found.push_back(call);
  }
  return found;
}

std::vector<std::wstring> RecordingStore::KeysOf(const std::string& function) const {
  std::vector<std::wstring> keys;
  for (const StoreCall& call : CallsOf(function)) keys.push_back(call.key);
  return keys;
}

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
  return Recorder().Record(FlagCall("StoreOpen", path, comInitFlag));
}

int StoreClose(const wchar_t* path, int comInitFlag) {
  return Recorder().Record(FlagCall("StoreClose", path, comInitFlag));
}

int StoreLoad(const wchar_t* path) {
  return Recorder().Record(Call("StoreLoad", path));
}

int StoreSave(const wchar_t* path) {
  return Recorder().Record(Call("StoreSave", path));
}

int StoreGetValue(wchar_t* buffer, const wchar_t* path, const wchar_t* key) {
  RecordingStore& store = Recorder();
  const int result = store.Record(KeyCall("StoreGetValue", path, key));
  if (result != STORE_OK) return result;
  const auto value = store.values.find(TextOf(key));
  if (value == store.values.end()) return STORE_E_NOT_FOUND;
  if (value->second.size() > STORE_MAX_VALUE_LENGTH) return STORE_E_TOO_LONG;
  wmemcpy(buffer, value->second.c_str(), value->second.size() + 1);
  return STORE_OK;
}

int StoreSetValue(const wchar_t* path, const wchar_t* key, const wchar_t* value) {
  StoreCall call = KeyCall("StoreSetValue", path, key);
  call.value = TextOf(value);
  return Recorder().Record(std::move(call));
}

int StoreGetNodeCount(int* count, const wchar_t* path, const wchar_t* key) {
  RecordingStore& store = Recorder();
  const int result = store.Record(KeyCall("StoreGetNodeCount", path, key));
  if (count != nullptr) *count = store.nodeCount;
  return result;
}

int StoreDataUpdateCheck(int* updated, const wchar_t* path) {
  RecordingStore& store = Recorder();
  const int result = store.Record(Call("StoreDataUpdateCheck", path));
  if (updated != nullptr && store.updated) *updated = *store.updated;
  return result;
}

const char* StoreResultText(int result) {
  return result == STORE_OK ? "success (recording store)" : "failure (recording store)";
}

int StoreCheckFile(const wchar_t* path, StoreParseError* error) {
  const int result = Recorder().Record(Call("StoreCheckFile", path));
  if (error != nullptr) *error = StoreParseError{result, 0, 0, "scripted by the recording store"};
  return result;
}

}  // extern "C"
