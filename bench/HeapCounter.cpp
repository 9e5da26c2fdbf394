// Replaces the global operator new and delete with versions that keep a running
// total of live bytes (by the allocator's usable size of each block).
#include "HeapCounter.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<size_t> g_live{0};
std::atomic<size_t> g_allocations{0};

void* Allocate(size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  g_live.fetch_add(malloc_usable_size(block), std::memory_order_relaxed);
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  return block;
}

void Release(void* block) noexcept {
  if (block == nullptr) return;
  g_live.fetch_sub(malloc_usable_size(block), std::memory_order_relaxed);
  std::free(block);
}
}  // namespace

namespace bench {
size_t LiveHeapBytes() {
  return g_live.load(std::memory_order_relaxed);
}
size_t AllocationCount() {
  return g_allocations.load(std::memory_order_relaxed);
}
}  // namespace bench

void* operator new(size_t size) {
  return Allocate(size);
}
void* operator new[](size_t size) {
  return Allocate(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void operator delete(void* block) noexcept {
  Release(block);
}
void operator delete[](void* block) noexcept {
  Release(block);
}
void operator delete(void* block, size_t) noexcept {
  Release(block);
}
void operator delete[](void* block, size_t) noexcept {
  Release(block);
}
