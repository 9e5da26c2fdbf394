// Open-addressing hash table of key texts to nodes, its entries in blocks.
#include "tree/KeyCache.h"

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <new>

#include "tree/ProbeTable.h"

namespace keytreestore {
namespace {
static_assert(sizeof(wchar_t) == 4, "keys are hashed as UTF-32, two characters in 64 bits");
constexpr size_t kFirstSlots = 256;
constexpr size_t kBlockBytes = 64 * 1024;
}  // namespace

size_t KeyCache::Hash(const wchar_t* key, size_t length) noexcept {
  // Two characters a step, in two independent lanes so that the multiplications
  // overlap, then mixed so that every character reaches the low bits that pick
  // the slot. Keys differ near either end, so every character counts.
  constexpr uint64_t kMultiplier = 0xFF51AFD7ED558CCDull;
  uint64_t even = length;
  uint64_t odd = 0x9E3779B97F4A7C15ull;
  size_t i = 0;
  for (; length - i >= 4; i += 4) {
    uint64_t pair[2];
    std::memcpy(pair, key + i, sizeof pair);
    even = (even ^ pair[0]) * kMultiplier;
    odd = (odd ^ pair[1]) * kMultiplier;
  }
  for (; i < length; ++i) even = (even ^ static_cast<uint32_t>(key[i])) * kMultiplier;
  uint64_t hash = even ^ (odd >> 7) ^ (odd << 13);
  hash ^= hash >> 32;
  hash *= kMultiplier;
  hash ^= hash >> 29;
  return static_cast<size_t>(hash);
}

pugi::xml_node KeyCache::Find(const wchar_t* key, size_t length) const noexcept {
  if (slots_.empty()) return pugi::xml_node();
  const size_t hash = Hash(key, length);
  const size_t mask = slots_.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.entry == nullptr) return pugi::xml_node();
    if (slot.hash == hash && slot.entry->length == length &&
        std::wmemcmp(slot.entry->text(), key, length) == 0) {
      return pugi::xml_node(slot.entry->node);
    }
  }
}

void KeyCache::Remember(const wchar_t* key, size_t length, pugi::xml_node node, size_t limit) {
  if (count_ >= limit) Clear();
  if ((count_ + 1) * 2 > slots_.size()) Grow();
  const size_t hash = Hash(key, length);
  const size_t mask = slots_.size() - 1;
  size_t i = hash & mask;
  for (; slots_[i].entry != nullptr; i = (i + 1) & mask) {
    const Entry* entry = slots_[i].entry;
    if (slots_[i].hash == hash && entry->length == length &&
        std::wmemcmp(entry->text(), key, length) == 0) {
      return;  // already known: it names the same node
    }
  }
  slots_[i] = Slot{hash, Store(key, length, node)};
  ++count_;
}

const KeyCache::Entry* KeyCache::Store(const wchar_t* key, size_t length, pugi::xml_node node) {
  const size_t bytes =
      (sizeof(Entry) + length * sizeof(wchar_t) + alignof(Entry) - 1) & ~(alignof(Entry) - 1);
  if (blocks_.empty() || blockUsed_ + bytes > blockSize_) {
    const size_t size = bytes > kBlockBytes ? bytes : kBlockBytes;
    std::unique_ptr<unsigned char[]> block(new unsigned char[size]);
    blocks_.push_back(std::move(block));
    blockUsed_ = 0;
    blockSize_ = size;
  }
  unsigned char* at = blocks_.back().get() + blockUsed_;
  blockUsed_ += bytes;
  Entry* entry = new (at) Entry{node.internal_object(), length};
  std::wmemcpy(entry->text(), key, length);
  return entry;
}

void KeyCache::Grow() {
  GrowProbeTable(&slots_, kFirstSlots, [](const Slot& slot) { return slot.entry != nullptr; });
}

void KeyCache::Clear() noexcept {
  slots_.clear();
  slots_.shrink_to_fit();
  blocks_.clear();
  count_ = 0;
  blockUsed_ = 0;
  blockSize_ = 0;
}

void KeyCache::Swap(KeyCache& other) noexcept {
  slots_.swap(other.slots_);
  blocks_.swap(other.blocks_);
  std::swap(count_, other.count_);
  std::swap(blockUsed_, other.blockUsed_);
  std::swap(blockSize_, other.blockSize_);
}

}  // namespace keytreestore
