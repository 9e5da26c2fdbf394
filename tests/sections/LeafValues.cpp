// Typed writes through the leaves of an object.
#include "LeafValues.h"

#include <gtest/gtest.h>

#include <cwchar>

#include "KeyTreeStore.h"

using namespace AccessLibraryBaseCpp;
using DicomAccessLibraryCpp::ValueKind;

namespace {

std::wstring DoubleText(double value) {
  wchar_t text[64];
  std::swprintf(text, 64, L"%f", value);
  return text;
}

std::wstring BoolText(int value) {
  return value != 0 ? L"TRUE" : L"FALSE";
}

std::wstring WriteNumberOrText(const Leaf& leaf, int position) {
  switch (leaf.kind) {
    case ValueKind::Integer:
      static_cast<IntProxy&>(*leaf.proxy) = 1000 + position;
      return std::to_wstring(1000 + position);
    case ValueKind::FloatingPoint:
      static_cast<DoubleProxy&>(*leaf.proxy) = position + 0.25;
      return DoubleText(position + 0.25);
    default:
      static_cast<StringProxy&>(*leaf.proxy) = L"v" + std::to_wstring(position);
      return L"v" + std::to_wstring(position);
  }
}

}  // namespace

KeyTexts WriteDistinct(const std::vector<Leaf>& leaves, const std::wstring& path) {
  KeyTexts texts;
  std::vector<const Leaf*> booleans;
  for (size_t i = 0; i < leaves.size(); ++i) {
    if (leaves[i].kind == ValueKind::Boolean) {
      booleans.push_back(&leaves[i]);
    } else {
      texts[CanonicalKey(leaves[i].key)] = WriteNumberOrText(leaves[i], static_cast<int>(i));
    }
  }
  for (size_t bit = 1; bit <= booleans.size(); bit <<= 1) {
    for (size_t b = 0; b < booleans.size(); ++b) {
      static_cast<BoolProxy&>(*booleans[b]->proxy) = ((b + 1) & bit) != 0;
    }
    for (size_t b = 0; b < booleans.size(); ++b) {
      const std::wstring text = BoolText(((b + 1) & bit) != 0);
      EXPECT_EQ(StoredText(path, booleans[b]->key), text) << "bit " << bit;
      texts[CanonicalKey(booleans[b]->key)] = text;
    }
  }
  return texts;
}

std::wstring StoredText(const std::wstring& path, const std::wstring& key) {
  wchar_t buffer[STORE_VALUE_BUFFER_LENGTH];
  const int result = StoreGetValue(buffer, path.c_str(), key.c_str());
  return result == STORE_OK ? std::wstring(buffer) : L"<result " + std::to_wstring(result) + L">";
}
