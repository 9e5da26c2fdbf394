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

// The benchmarks run on one thread: a load and a store keep the count as exactly
// as a locked read-modify-write would, without its cost on every allocation of
// the code measured (pugixml's side allocates with malloc and pays none).
void Add(std::atomic<size_t>& counter, size_t amount) {
  counter.store(counter.load(std::memory_order_relaxed) + amount, std::memory_order_relaxed);
}

void* Allocate(size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  Add(g_live, malloc_usable_size(block));
  Add(g_allocations, 1);
  return block;
}

void Release(void* block) noexcept {
  if (block == nullptr) return;
  Add(g_live, 0 - malloc_usable_size(block));
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
