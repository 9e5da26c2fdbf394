// The nodes of a settings tree by the key texts callers named them with, so that
// a key read again costs one hash look-up instead of parsing and resolving it.
// Only keys that name an existing node are kept, and only the node is kept,
// never its value: every read still reads the tree. The tree's owner drops the
// cache when it replaces the tree; nodes are never removed from a tree otherwise,
// and appending never changes what an existing key names, so entries stay right.
#ifndef DICOMSETTINGS_STORE_TREE_KEYCACHE_H
#define DICOMSETTINGS_STORE_TREE_KEYCACHE_H

#include <cstddef>
#include <memory>
#include <pugixml.hpp>
#include <vector>

namespace keytreestore {

class KeyCache {
 public:
  KeyCache() = default;
  KeyCache(const KeyCache&) = delete;
  KeyCache& operator=(const KeyCache&) = delete;

  // The node remembered for the key text key[0..length), or a null node.
  pugi::xml_node Find(const wchar_t* key, size_t length) const noexcept;
  // Remembers node for the key text. When the cache holds more than `limit`
  // keys it starts afresh, so that a caller naming the same nodes by ever new
  // spellings cannot make it grow without bound. Throws std::bad_alloc.
  void Remember(const wchar_t* key, size_t length, pugi::xml_node node, size_t limit);
  void Clear() noexcept;
  void Swap(KeyCache& other) noexcept;

 private:
  // An entry's header; the key text follows it in the same block.
  struct Entry {
    pugi::xml_node_struct* node;
    size_t length;
    const wchar_t* text() const noexcept { return reinterpret_cast<const wchar_t*>(this + 1); }
    wchar_t* text() noexcept { return reinterpret_cast<wchar_t*>(this + 1); }
  };
  struct Slot {
    size_t hash;
    const Entry* entry;  // null: empty
  };

  static size_t Hash(const wchar_t* key, size_t length) noexcept;
  const Entry* Store(const wchar_t* key, size_t length, pugi::xml_node node);
  void Grow();

  std::vector<Slot> slots_;  // open addressing, linear probing; size a power of two
  size_t count_ = 0;
  // Entries are laid end to end in blocks that live until the cache is cleared.
  std::vector<std::unique_ptr<unsigned char[]>> blocks_;
  size_t blockUsed_ = 0;
  size_t blockSize_ = 0;
};

}  // namespace keytreestore

#endif
