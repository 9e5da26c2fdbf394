// This thread's note of what went wrong.
#include "util/FailureNote.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace keytreestore {
namespace {

thread_local std::string t_note;

// Cuts text to at most kMaxFailureNote bytes, never inside a UTF-8 sequence.
void Bound(std::string& text) {
  if (text.size() <= kMaxFailureNote) return;
  size_t end = kMaxFailureNote;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
}

}  // namespace

void NoteFailure(const char* format, ...) {
  char part[kMaxFailureNote + 1];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(part, sizeof part, format, arguments);
  va_end(arguments);
  if (!t_note.empty()) t_note += "; ";
  t_note += part;
  Bound(t_note);
}

void NoteSystemFailure(const char* what, const std::string& path, int error) {
  char text[256];
  // The GNU strerror_r, safe on every thread, gives its text or one of its own.
  NoteFailure("%s %s: %s", what, path.c_str(), strerror_r(error, text, sizeof text));
}

bool HasFailureNote() noexcept {
  return !t_note.empty();
}

std::string TakeFailureNote() {
  std::string note;
  note.swap(t_note);
  return note;
}

void ClearFailureNote() noexcept {
  t_note.clear();
}

}  // namespace keytreestore
