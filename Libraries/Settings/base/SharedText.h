// SharedText: an immutable wide text with a shared, thread-safe reference count.
// Proxies and list elements hold their paths and keys in it: a copy costs no
// allocation, and a text is stored once at its real length however many bindings
// use it. Because the text never changes, sharing it is the same as owning a copy.
#ifndef DICOMSETTINGS_SHAREDTEXT_H
#define DICOMSETTINGS_SHAREDTEXT_H

#include <cstddef>

#include "DicomSettingsExport.h"

namespace AccessLibraryBaseCpp {

class DICOMSETTINGS_API SharedText {
 public:
  SharedText() noexcept = default;
  // A new text of the first `length` characters of text (which needs no NUL).
  // Throws std::bad_alloc when memory runs out.
  SharedText(const wchar_t* text, size_t length);
  SharedText(const SharedText& other) noexcept;
  SharedText(SharedText&& other) noexcept;
  SharedText& operator=(const SharedText& other) noexcept;
  SharedText& operator=(SharedText&& other) noexcept;
  ~SharedText();

  // The NUL-terminated text, or null for a SharedText that holds none.
  const wchar_t* c_str() const noexcept;
  size_t length() const noexcept;
  explicit operator bool() const noexcept { return rep_ != nullptr; }
  void reset() noexcept;

 private:
  struct Rep;
  Rep* rep_ = nullptr;
};

}  // namespace AccessLibraryBaseCpp

#endif
