// This thread's note of what went wrong.
#include "util/FailureNote.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace keytreestore {
namespace {

thread_local std::string t_note;
// Whether t_note holds anything: a plain flag, so that the check every successful
// call makes costs one load (no initialisation guard, no call into the loader).
thread_local bool t_noted __attribute__((tls_model("initial-exec"))) = false;

// Cuts text to at most kMaxFailureNote bytes, never inside a UTF-8 sequence.
void Bound(std::string& text) {
  if (text.size() <= kMaxFailureNote) return;
  size_t end = kMaxFailureNote;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
}

}  // namespace

void NoteFailure(const char* format, ...) {
  // Room for more than is kept, so that Bound, not the formatting, cuts it short.
  char part[2 * kMaxFailureNote];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(part, sizeof part, format, arguments);
  va_end(arguments);
  if (!t_note.empty()) t_note += "; ";
  t_note += part;
  Bound(t_note);
  t_noted = true;
}

bool HasFailureNote() noexcept {
  return t_noted;
}

std::string TakeFailureNote() {
  std::string note;
  note.swap(t_note);
  t_noted = false;
  return note;
}

void ClearFailureNote() noexcept {
  t_note.clear();
  t_noted = false;
}

}  // namespace keytreestore
