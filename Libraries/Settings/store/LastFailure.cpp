// Keeping each thread's last failure for StoreLastFailure.
#include "LastFailure.h"

#include <cstring>
#include <cwchar>
#include <new>
#include <string>

#include "util/FailureNote.h"

namespace keytreestore {
namespace {

struct Failure {
  std::wstring path;
  int result = STORE_OK;
  std::string note;
};

thread_local Failure t_last;

// Keeps a failure with its path and the thread's note, which it takes.
int KeepFailure(const wchar_t* path, int result) {
  try {
    t_last.path.assign(path != nullptr ? path : L"");
    t_last.result = result;
    t_last.note = TakeFailureNote();
  } catch (const std::bad_alloc&) {
    t_last = Failure();
    t_last.result = result;
    ClearFailureNote();
  }
  return result;
}

}  // namespace

int FinishCall(const wchar_t* path, int result) {
  if (result == STORE_OK) {
    if (HasFailureNote()) ClearFailureNote();
    return result;
  }
  return KeepFailure(path, result);
}

int DescribeLastFailure(const wchar_t* path, char* text, size_t capacity) {
  text[0] = '\0';
  if (t_last.result == STORE_OK || t_last.path != (path != nullptr ? path : L"")) return STORE_OK;
  const std::string& note = t_last.note;
  const char* what = note.empty() ? StoreResultText(t_last.result) : note.c_str();
  size_t length = std::strlen(what);
  if (length >= capacity) {
    length = capacity - 1;
    while (length > 0 && (static_cast<unsigned char>(what[length]) & 0xC0) == 0x80) --length;
  }
  std::memcpy(text, what, length);
  text[length] = '\0';
  return t_last.result;
}

}  // namespace keytreestore
