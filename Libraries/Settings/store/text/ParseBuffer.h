// A settings file's bytes as read for parsing, held in memory from pugixml's
// allocator so that a tree can take them over and parse them where they lie: a
// large file is then held once, not read into one buffer and copied into another.
// Not thread-safe; one owner at a time.
#ifndef DICOMSETTINGS_STORE_TEXT_PARSEBUFFER_H
#define DICOMSETTINGS_STORE_TEXT_PARSEBUFFER_H

#include <cstddef>

namespace keytreestore {

class ParseBuffer {
 public:
  ParseBuffer() = default;
  ~ParseBuffer();
  ParseBuffer(ParseBuffer&& other) noexcept;
  ParseBuffer& operator=(ParseBuffer&& other) noexcept;
  ParseBuffer(const ParseBuffer&) = delete;
  ParseBuffer& operator=(const ParseBuffer&) = delete;

  // Makes room for at least capacity bytes, keeping those held (their contents
  // are not cleared: the caller writes them). False when memory runs out.
  bool Reserve(size_t capacity);
  char* data() { return data_; }
  const char* data() const { return data_; }
  size_t size() const { return size_; }
  size_t capacity() const { return capacity_; }
  // The number of bytes held, at most the capacity.
  void SetSize(size_t size) { size_ = size < capacity_ ? size : capacity_; }
  // Gives the memory up to the caller, who frees it with pugixml's deallocator.
  char* Release();

 private:
  char* data_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
};

}  // namespace keytreestore

#endif
