// An area of the tree as etcd keeps it, one line a value: the lines an area gives,
// the same area built again from them, and the lines refused with the line named.
#include <gtest/gtest.h>

#include <pugixml.hpp>
#include <sstream>
#include <string>

#include "KeyTreeStore.h"
#include "etcd/AreaText.h"
#include "tree/SettingsDocument.h"

namespace {

std::string Raw(pugi::xml_node node) {
  std::ostringstream out;
  node.print(out, "", pugi::format_raw);
  return out.str();
}

TEST(AreaText, AreaGivesItsLinesAndIsBuiltAgainFromThem) {
  const struct {
    const char* area;   // the element "A"
    const char* lines;  // what AreaText gives
  } rows[] = {
      {"<A><T>1</T><S><X>1.2</X><U><V>1.2.1</V></U></S><S><X>1.7</X></S></A>",
       "T=1\nS/X=1.2\nS/U/V=1.2.1\nS[1]/X=1.7\n"},
      {"<A><N>0</N><M>m</M><N>1</N><N><O>2</O></N></A>", "N=0\nM=m\nN[1]=1\nN[2]/O=2\n"},
      {"<A><V>a\\nb\nc=d\\</V><W>\\\\</W></A>", "V=a\\\\nb\\nc=d\\\\\nW=\\\\\\\\\n"},
      {"<A><E/><F><G/></F><H></H></A>", "E=\nF/G=\nH=\n"},
      {"<A>top<B>t<C>1</C></B><D>\n  <!-- c --><C/>\n</D></A>", "=top\nB=t\nB/C=1\nD/C=\n"},
      {"<A/>", ""},
  };
  for (const auto& row : rows) {
    // Blank text beside elements and comments give no line; the rebuilt area lacks them.
    pugi::xml_document original, expected;
    ASSERT_TRUE(original.load_string(
        row.area, pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_comments));
    ASSERT_TRUE(expected.load_string(row.area));
    EXPECT_EQ(keytreestore::AreaText(original.first_child()), row.lines) << row.area;

    keytreestore::SettingsDocument rebuilt;
    ASSERT_EQ(rebuilt.MakeEmpty(), STORE_OK);
    std::string fault;
    ASSERT_EQ(keytreestore::AddArea(rebuilt, "A", row.lines, &fault), STORE_OK)
        << row.area << ": " << fault;
    EXPECT_EQ(Raw(rebuilt.Root().child("A")), Raw(expected.first_child())) << row.area;
  }
}

TEST(AreaText, MalformedLinesAndAreasOutOfOrderAreRefused) {
  const struct {
    const char* area;
    const char* text;
    const char* fault;  // part of what *fault says
  } rows[] = {
      {"A", "noequals", "line 1:"},
      {"A", "V=1\r\n\r\nW", "line 3:"},
      {"A", "V=a\\x", "line 1:"},
      {"A", "V=\x01", "line 1:"},
      {"A", "V=a\rb", "line 1:"},
      {"A", "V\\x=1", "line 1: malformed key"},
      {"A", "N=0\nN[2]=2", "line 2: malformed key or index out of order"},
      {"A[1]", "V=1", "area out of order"},
      {"A/B", "V=1", "malformed area name"},
  };
  for (const auto& row : rows) {
    keytreestore::SettingsDocument document;
    ASSERT_EQ(document.MakeEmpty(), STORE_OK);
    std::string fault;
    EXPECT_EQ(keytreestore::AddArea(document, row.area, row.text, &fault), STORE_E_PARSE)
        << row.text;
    EXPECT_NE(fault.find(row.fault), std::string::npos) << row.text << ": " << fault;
  }
}

}  // namespace
