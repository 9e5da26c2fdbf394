// The walk that decides whether a path text has an acceptable form.
#include <gtest/gtest.h>

#include <string>

#include "ValueText.h"

namespace {

using AccessLibraryBaseCpp::HasAcceptablePathForm;

TEST(PathFormTest, WalksDriveSeparatorsAndDotSegments) {
  const struct {
    const wchar_t* text;
    bool acceptable;
  } cases[] = {
      {L"", true},           {L"C", true},
      {L"C:", true},         {L"c:\\dir\\settings.xml", true},
      {L"1:/dir", false},    {L"C;/dir", false},
      {L"C:dir", false},     {L"C:/./dir", false},
      {L"C:/a/./b", false},  {L"C:\\a\\.\\b", false},
      {L"C:/a/../b", false}, {L"C:/a\\..\\b", false},
      {L"C:/a/..", true},    {L"C:/a/.", true},
      {L"C:/a/.../b", true}, {L"C:/a/.hidden/b", true},
      {L"C:/a./b", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HasAcceptablePathForm(c.text), c.acceptable)
        << "path: " << ::testing::PrintToString(std::wstring(c.text));
  }
}

TEST(PathFormTest, AcceptsAtMost260Characters) {
  const std::wstring longest = L"C:/" + std::wstring(257, L'x');
  EXPECT_TRUE(HasAcceptablePathForm(longest.c_str()));
  EXPECT_FALSE(HasAcceptablePathForm((longest + L"x").c_str()));
}

}  // namespace
