// The store's children index and key cache must never make a read, a write or
// a count answer from a tree that is no longer the one in memory: after nodes are
// created, after a load of a changed file, after a save that merges another
// writer's version, and after a close and reopen, every answer is the tree's.
#include <gtest/gtest.h>

#include <pugixml.hpp>
#include <string>
#include <vector>

#include "KeyCache.h"
#include "KeyTreeStore.h"
#include "StoreTestSupport.h"

namespace {

// Keys read after every step; the cache learns them on the first read.
const std::vector<std::wstring> kKeys = {
    L"/List/Item/Value",     L"/List/Item[0]/Value", L"/List[0]/Item[1]/Value",
    L"/List/Item[2]/Value",  L"/List/Item[3]/Value", L"/List/Item[5]/Value",
    L"/List/Items[0]/Value", L"/Other/Value",        L"/List/Item[1]/Missing"};
const std::vector<std::wstring> kLists = {L"/List/Item", L"/List/Items", L"/Nowhere/Item"};

std::string Narrow(const std::wstring& text) {
  return std::string(text.begin(), text.end());
}

// Every key and count of the open file answers as a fresh open of a file holding
// xml does: a tree that has nothing cached.
void ExpectStoreHolds(const TempDir& dir, const std::wstring& path, const std::string& xml,
                      const char* step) {
  SCOPED_TRACE(step);
  WriteTextFile(dir.File("fresh.xml"), xml);
  const OpenedFile fresh(dir.WideFile("fresh.xml"));
  ASSERT_EQ(fresh.result(), STORE_OK);
  for (const std::wstring& key : kKeys) {
    EXPECT_EQ(ReadValue(path, key.c_str()), fresh.Read(key.c_str())) << Narrow(key);
  }
  for (const std::wstring& list : kLists) {
    EXPECT_EQ(CountNodes(path, list.c_str()), CountNodes(fresh.path(), list.c_str()))
        << Narrow(list);
  }
}

std::string Items(const std::vector<std::string>& values, const std::string& tail = "") {
  std::string xml = "<List>";
  for (const std::string& value : values)
    xml += "<Item><!-- c --><Value>" + value + "</Value></Item>";
  return SettingsXml(xml + "</List>" + tail);
}

TEST(KeyCacheTest, EveryAnswerFollowsTheTreeThroughCreateLoadMergeAndReopen) {
  TempDir dir;
  const std::wstring path = dir.WideFile("s.xml");
  const std::string first = Items({"a", "b"}, "<Other><Value>o</Value></Other>");
  WriteTextFile(dir.File("s.xml"), first);
  ASSERT_EQ(StoreOpen(path.c_str(), 1), STORE_OK);
  ExpectStoreHolds(dir, path, first, "opened");
  ExpectStoreHolds(dir, path, first, "read again from the cache");

  // Appends Item[2] (empty), Item[3] and Items[0] after keys were cached.
  ASSERT_EQ(StoreSetValue(path.c_str(), L"/List/Item[3]/Value", L"d"), STORE_OK);
  ASSERT_EQ(StoreSetValue(path.c_str(), L"/List/Items/Value", L"s"), STORE_OK);
  ASSERT_EQ(StoreSetValue(path.c_str(), L"/List/Item[1]/Value", L"B"), STORE_OK);
  const std::string created = SettingsXml(
      "<List><Item><Value>a</Value></Item><Item><Value>B</Value></Item><Item/>"
      "<Item><Value>d</Value></Item><Items><Value>s</Value></Items></List>"
      "<Other><Value>o</Value></Other>");
  ExpectStoreHolds(dir, path, created, "nodes created");

  // On disk the list now starts with two new items: every index names another node.
  // Loaded again and again, so that new trees come to lie where old ones were.
  const std::string changed = Items({"x", "y", "a", "b", "c", "e"});
  for (const std::string& xml : {Items({"u"}), Items({"v", "w", "z"}), changed}) {
    ReplaceOnDisk(dir.File("s.xml"), xml);
    ASSERT_EQ(StoreLoad(path.c_str()), STORE_OK);
    ExpectStoreHolds(dir, path, xml, "loaded a changed file");
  }

  // This process sets Item[1]; another saves a shorter list meanwhile; the save
  // merges both and the merged tree replaces the one in memory.
  ASSERT_EQ(StoreSetValue(path.c_str(), L"/List/Item[1]/Value", L"mine"), STORE_OK);
  ReplaceOnDisk(dir.File("s.xml"), Items({"p", "q"}, "<Other><Value>theirs</Value></Other>"));
  ASSERT_EQ(StoreSave(path.c_str()), STORE_OK);
  const std::string merged = ReadTextFile(dir.File("s.xml"));
  EXPECT_EQ(ReadFromDisk(path, L"/List/Item[1]/Value").text, L"mine");
  EXPECT_EQ(ReadFromDisk(path, L"/Other/Value").text, L"theirs");
  ExpectStoreHolds(dir, path, merged, "saved over another writer's version");

  ASSERT_EQ(StoreClose(path.c_str(), 1), STORE_OK);
  const std::string reopened = Items({"r"});
  ReplaceOnDisk(dir.File("s.xml"), reopened);
  ASSERT_EQ(StoreOpen(path.c_str(), 1), STORE_OK);
  ExpectStoreHolds(dir, path, reopened, "closed and reopened");
  EXPECT_EQ(StoreClose(path.c_str(), 1), STORE_OK);
}

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
