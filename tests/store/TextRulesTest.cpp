// Text the XML parser takes but a save could not write back as it was read:
// character references to characters XML cannot hold, carriage returns, and
// indices that would append without bound.
#include <gtest/gtest.h>

#include "StoreTestSupport.h"

namespace {

class TextRules : public ::testing::Test {
 protected:
  TempDir dir_;
  std::string file_ = dir_.File("settings.xml");
  std::wstring path_ = dir_.WideFile("settings.xml");
};

TEST_F(TextRules, CharactersXmlCannotHoldAreParseFaults) {
  for (const char* value : {"&#0;", "&#1;", "&#x1F;", "&#xD800;", "&#xFFFE;", "&#x110000;",
                            "&#99999999999;", "&#0000;", "\x01", "\x1F", "\xEF\xBF\xBF"}) {
    WriteTextFile(file_, SettingsXml(std::string("<A>a") + value + "</A>"));
    StoreParseError error;
    EXPECT_EQ(StoreCheckFile(path_.c_str(), &error), STORE_E_PARSE) << value;
    EXPECT_EQ(error.line, 2) << value;
    EXPECT_EQ(StoreOpen(path_.c_str(), 1), STORE_E_PARSE) << value;
  }
}

TEST_F(TextRules, TextOutsideTheDocumentElementIsAParseFault) {
  for (const char* text : {"<S/>tail", "head<S/>", "<S/><![CDATA[x]]>"}) {
    WriteTextFile(file_, text);
    EXPECT_EQ(StoreOpen(path_.c_str(), 1), STORE_E_PARSE) << text;
  }
}

TEST_F(TextRules, NestingDeeperThanAThousandLevelsIsAParseFault) {
  const auto nested = [](int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) text += "<a>";
    for (int i = 0; i < depth; ++i) text += "</a>";
    return text;
  };
  WriteTextFile(file_, nested(1001));
  EXPECT_EQ(StoreOpen(path_.c_str(), 1), STORE_E_PARSE);
  WriteTextFile(file_, nested(1000));
  OpenedFile opened(path_);
  EXPECT_EQ(opened.result(), STORE_OK);
}

TEST_F(TextRules, CarriageReturnsReadTheSameBeforeAndAfterASave) {
  WriteTextFile(file_, SettingsXml("<A>one&#13;two&#x1F600;</A><B>x</B>"));
  OpenedFile opened(path_);
  ASSERT_EQ(opened.result(), STORE_OK);
  ASSERT_EQ(opened.Set(L"/B", L"three\r\nfour\rfive"), STORE_OK);
  const StoreRead a = opened.Read(L"/A");
  const StoreRead b = opened.Read(L"/B");
  EXPECT_EQ(a, (StoreRead{STORE_OK, L"one\ntwo\U0001F600"}));
  EXPECT_EQ(b, (StoreRead{STORE_OK, L"three\nfour\nfive"}));
  ASSERT_EQ(opened.Save(), STORE_OK);
  EXPECT_EQ(ReadFromDisk(path_, L"/A"), a);
  EXPECT_EQ(ReadFromDisk(path_, L"/B"), b);
}

TEST_F(TextRules, AnIndexFarBeyondTheSiblingsIsRefused) {
  WriteTextFile(file_, SettingsXml("<A><B>0</B></A>"));
  OpenedFile opened(path_);
  ASSERT_EQ(opened.result(), STORE_OK);
  EXPECT_EQ(opened.Set(L"/A/B[2000000000]", L"x"), STORE_E_BAD_KEY);
  // One B exists: at most 100,000 more may be appended in one call.
  EXPECT_EQ(opened.Set(L"/A/B[100001]", L"x"), STORE_E_BAD_KEY);
  EXPECT_EQ(CountNodes(path_, L"/A/B"), 1);
  EXPECT_EQ(opened.Set(L"/A/B[100000]", L"last"), STORE_OK);
  EXPECT_EQ(CountNodes(path_, L"/A/B"), 100001);
}

TEST_F(TextRules, BlankTextMakesWayForNewChildren) {
  WriteTextFile(file_, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Settings>\n</Settings>\n");
  OpenedFile opened(path_);
  ASSERT_EQ(opened.result(), STORE_OK);
  ASSERT_EQ(opened.Set(L"/EchoScu/TaskCount", L"1"), STORE_OK);
  ASSERT_EQ(opened.Save(), STORE_OK);
  EXPECT_EQ(ReadTextFile(file_),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Settings>\n  <EchoScu>\n"
            "    <TaskCount>1</TaskCount>\n  </EchoScu>\n</Settings>\n");
}

}  // namespace
