// List elements on their own: default state, re-pointing with Initialize, keys
// too long to form, copying and assignment, over the recording stand-in store.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RecordingStore.h"
#include "SchemaLeaves.h"

namespace {

using namespace DicomAccessLibraryCpp;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

class ElementTest : public RecordingStoreTest {
 protected:
  // The keys the store is asked for when every value of entry is read.
  template <class E>
  std::vector<std::wstring> ReadKeys(E& entry) {
    const std::vector<Leaf> leaves = ElementLeaves(entry, E::Schema(), L"");
    store.Reset();
    ReadEach(leaves);
    std::vector<std::wstring> keys;
    for (const StoreCall& call : store.calls) keys.push_back(call.key);
    return keys;
  }
  // The keys of E's table below node.
  template <class E>
  static std::vector<std::wstring> KeysAt(E& entry, const std::wstring& node) {
    std::vector<std::wstring> keys;
    for (const Leaf& leaf : ElementLeaves(entry, E::Schema(), node)) keys.push_back(leaf.key);
    return keys;
  }
};

TEST_F(ElementTest, DefaultElementAddressesNothing) {
  EchoScu::CSyntax entry;
  EXPECT_EQ(entry.GetIndex(), -1);
  EXPECT_EQ(entry.GetFilePathText(), nullptr);
  EXPECT_EQ(entry.GetNodeKey(), nullptr);
  EXPECT_THAT(ReadKeys(entry), IsEmpty());
  EXPECT_EQ(entry.GetCountTransferSyntax(), 0);
  entry.AbstractSyntax = L"x";
  EXPECT_THAT(store.calls, IsEmpty());
}

TEST_F(ElementTest, InitializeRepointsTheElementAndItsNestedElements) {
  wchar_t path[] = L"F";
  EchoScu::CSyntax echo;
  ASSERT_EQ(echo.Initialize(path, L"/EchoScu/Syntax", 2), 0);
  EXPECT_EQ(echo.GetIndex(), 2);
  EXPECT_EQ(echo.GetFilePathText(), path);
  EXPECT_THAT(store.calls, IsEmpty());
  EXPECT_THAT(ReadKeys(echo), ElementsAreArray(KeysAt(echo, L"/EchoScu/Syntax[2]")));
  EXPECT_EQ(store.calls[0].path, L"F");
  ASSERT_EQ(echo.Initialize(path, L"/EchoScu/Syntax", -1), 0);
  EXPECT_THAT(ReadKeys(echo), ElementsAreArray(KeysAt(echo, L"/EchoScu/Syntax[-1]")));
  StorageScu::CSyntax storage;
  ASSERT_EQ(storage.Initialize(path, L"/StorageScu/Syntax", 5), 0);
  EXPECT_THAT(ReadKeys(storage), ElementsAreArray(KeysAt(storage, L"/StorageScu/Syntax[5]")));
  CTransferSyntax transfer;
  ASSERT_EQ(transfer.Initialize(path, L"/EchoScu/Syntax[0]/TransferSyntax", 1), 0);
  EXPECT_THAT(ReadKeys(transfer), ElementsAre(L"/EchoScu/Syntax[0]/TransferSyntax[1]/SyntaxValue"));
}

TEST_F(ElementTest, KeyTooLongToFormIsNeverCutShortIntoAnotherKey) {
  // A list key whose node key does not fit, none, and one whose node key just
  // fits but whose field keys and nested list key do not.
  const std::wstring tooLong = L"/" + std::wstring(508, L'n');   // "[2]" makes 512
  const std::wstring noFields = L"/" + std::wstring(507, L'n');  // "[2]" makes 511
  const struct {
    const wchar_t* listKey;
    int result;
    bool hasNodeKey;
  } cases[] = {{tooLong.c_str(), 201, false}, {nullptr, 201, false}, {noFields.c_str(), 0, true}};
  for (const auto& c : cases) {
    StorageScu::CSyntax entry;
    ASSERT_EQ(entry.Initialize(L"F", L"/StorageScu/Syntax", 1), 0);
    EXPECT_EQ(entry.Initialize(L"F", c.listKey, 2), c.result);
    EXPECT_EQ(entry.GetNodeKey() != nullptr, c.hasNodeKey);
    EXPECT_THAT(ReadKeys(entry), IsEmpty());
    entry.AbstractSyntax = L"x";
    entry.TransferSyntax[3].SyntaxValue = L"x";
    EXPECT_EQ(entry.GetCountTransferSyntax(), 0);
    EXPECT_THAT(store.calls, IsEmpty());
  }
}

TEST_F(ElementTest, CopyTakesTheBindingAndAssignmentCopiesValuesThroughTheStore) {
  CEchoScuSetting section(L"A");
  EchoScu::CSyntax copy(section.Syntax[0]);
  EXPECT_THAT(ReadKeys(copy), ElementsAreArray(KeysAt(copy, L"/EchoScu/Syntax[0]")));
  EchoScu::CSyntax target;
  ASSERT_EQ(target.Initialize(L"F", L"/EchoScu/Syntax", 3), 0);
  store.Reset();
  store.values[L"/EchoScu/Syntax[0]/AbstractSyntax"] = L"1.2";
  store.values[L"/EchoScu/Syntax[0]/TransferSyntax[0]/SyntaxValue"] = L"1.2.1";
  target = section.Syntax[0];
  EXPECT_THAT(
      store.Trace(),
      ElementsAre(L"StoreGetValue A /EchoScu/Syntax[0]/AbstractSyntax",
                  L"StoreSetValue F /EchoScu/Syntax[3]/AbstractSyntax=1.2",
                  L"StoreGetValue A /EchoScu/Syntax[0]/TransferSyntax[0]/SyntaxValue",
                  L"StoreSetValue F /EchoScu/Syntax[3]/TransferSyntax[0]/SyntaxValue=1.2.1"));
  EXPECT_EQ(target.GetIndex(), 0);
  EXPECT_EQ(std::wstring(target.GetNodeKey()), L"/EchoScu/Syntax[0]");
}

}  // namespace
