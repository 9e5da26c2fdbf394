// Memory for a file's bytes from pugixml's allocator.
#include "text/ParseBuffer.h"

#include <cstring>
#include <pugixml.hpp>
#include <utility>

namespace keytreestore {

ParseBuffer::~ParseBuffer() {
  if (data_ != nullptr) pugi::get_memory_deallocation_function()(data_);
}

ParseBuffer::ParseBuffer(ParseBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

ParseBuffer& ParseBuffer::operator=(ParseBuffer&& other) noexcept {
  if (this != &other) {
    ParseBuffer gone(std::move(*this));
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
  }
  return *this;
}

bool ParseBuffer::Reserve(size_t capacity) {
  if (capacity <= capacity_) return true;
  // One byte more than asked, so that an empty file still has a buffer.
  void* grown = pugi::get_memory_allocation_function()(capacity + 1);
  if (grown == nullptr) return false;
  if (size_ > 0) std::memcpy(grown, data_, size_);
  if (data_ != nullptr) pugi::get_memory_deallocation_function()(data_);
  data_ = static_cast<char*>(grown);
  capacity_ = capacity;
  return true;
}

char* ParseBuffer::Release() {
  size_ = capacity_ = 0;
  return std::exchange(data_, nullptr);
}

}  // namespace keytreestore
