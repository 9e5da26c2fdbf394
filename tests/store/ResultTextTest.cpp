// Every result code has a text of its own, and a code the store never returns
// has none of theirs.
#include <gtest/gtest.h>

#include <set>

#include "KeyTreeStore.h"

namespace {

TEST(ResultText, EveryResultHasItsOwnText) {
  std::set<std::string> texts;
  for (int code = STORE_OK; code <= STORE_E_NO_MEMORY; ++code) texts.insert(StoreResultText(code));
  EXPECT_EQ(texts.size(), static_cast<size_t>(STORE_E_NO_MEMORY + 1));
  for (int code : {-1, 10, 201}) EXPECT_EQ(texts.count(StoreResultText(code)), 0u) << code;
}

}  // namespace
