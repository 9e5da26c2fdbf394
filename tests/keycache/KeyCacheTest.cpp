// The key cache on its own: it finds every key it was told, tells a key from its
// prefixes, moves whole with Swap, and starts afresh past its limit. (That the
// store's answers follow the tree through creation, loads, merging saves and
// reopening is steps.txt's.)
#include <gtest/gtest.h>

#include <pugixml.hpp>
#include <string>
#include <vector>

#include "tree/KeyCache.h"

namespace {

TEST(KeyCacheTest, CacheFindsManyKeysAndStartsAfreshPastItsLimit) {
  pugi::xml_document document;
  pugi::xml_node root = document.append_child("R");
  std::vector<pugi::xml_node> nodes;
  for (int i = 0; i < 3000; ++i) nodes.push_back(root.append_child("N"));
  std::vector<std::wstring> keys;
  for (int i = 0; i < 3000; ++i) keys.push_back(L"/R/N[" + std::to_wstring(i) + L"]");

  keytreestore::KeyCache cache;
  for (int i = 0; i < 3000; ++i) cache.Remember(keys[i].data(), keys[i].size(), nodes[i], 10000);
  for (int i = 0; i < 3000; ++i) {
    ASSERT_EQ(cache.Find(keys[i].data(), keys[i].size()), nodes[i]) << i;
  }
  EXPECT_FALSE(cache.Find(L"/R/N[3000]", 10));
  EXPECT_FALSE(cache.Find(keys[5].data(), keys[5].size() - 1));  // a prefix is another key

  keytreestore::KeyCache other;
  other.Swap(cache);
  EXPECT_FALSE(cache.Find(keys[7].data(), keys[7].size()));
  EXPECT_EQ(other.Find(keys[7].data(), keys[7].size()), nodes[7]);

  // Past the limit the cache starts afresh: old keys are gone, new ones found.
  for (int i = 0; i < 3000; ++i) other.Remember(keys[i].data(), keys[i].size(), nodes[i], 1000);
  EXPECT_FALSE(other.Find(keys[0].data(), keys[0].size()));
  EXPECT_EQ(other.Find(keys[2999].data(), keys[2999].size()), nodes[2999]);
  other.Clear();
  EXPECT_FALSE(other.Find(keys[2999].data(), keys[2999].size()));
}

}  // namespace
