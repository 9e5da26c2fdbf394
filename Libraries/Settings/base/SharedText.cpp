// Reference-counted immutable wide texts for paths and keys.
#include "SharedText.h"

#include <atomic>
#include <cstring>
#include <new>

namespace AccessLibraryBaseCpp {

struct SharedText::Rep {
  std::atomic<long> references;
  size_t length;
  wchar_t* text() { return reinterpret_cast<wchar_t*>(this + 1); }
};

SharedText::SharedText(const wchar_t* text, size_t length) {
  void* memory = ::operator new(sizeof(Rep) + (length + 1) * sizeof(wchar_t));
  rep_ = new (memory) Rep{{1}, length};
  if (length != 0) std::memcpy(rep_->text(), text, length * sizeof(wchar_t));
  rep_->text()[length] = L'\0';
}

SharedText::SharedText(const SharedText& other) noexcept : rep_(other.rep_) {
  if (rep_ != nullptr) rep_->references.fetch_add(1, std::memory_order_relaxed);
}

SharedText::SharedText(SharedText&& other) noexcept : rep_(other.rep_) {
  other.rep_ = nullptr;
}

SharedText& SharedText::operator=(const SharedText& other) noexcept {
  SharedText copy(other);
  std::swap(rep_, copy.rep_);
  return *this;
}

SharedText& SharedText::operator=(SharedText&& other) noexcept {
  std::swap(rep_, other.rep_);
  return *this;
}

SharedText::~SharedText() {
  reset();
}

void SharedText::reset() noexcept {
  if (rep_ != nullptr && rep_->references.fetch_sub(1, std::memory_order_acq_rel) == 1) {
    rep_->~Rep();
    ::operator delete(rep_);
  }
  rep_ = nullptr;
}

const wchar_t* SharedText::c_str() const noexcept {
  return rep_ != nullptr ? rep_->text() : nullptr;
}

size_t SharedText::length() const noexcept {
  return rep_ != nullptr ? rep_->length : 0;
}

}  // namespace AccessLibraryBaseCpp
