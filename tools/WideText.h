// Conversion between the UTF-8 of command lines, files and output and the wide
// text of the settings library, and text put on one line for output.
#ifndef DICOMSETTINGS_TOOLS_WIDETEXT_H
#define DICOMSETTINGS_TOOLS_WIDETEXT_H

#include <string>

namespace dicomsettings_tool {

// Makes the conversions below read and write UTF-8, whatever the environment's
// locale says; called once at start.
void UseUtf8Text();

// The wide form of UTF-8 text; false when text is not valid UTF-8.
bool ToWide(const std::string& text, std::wstring* wide);

// The UTF-8 form of wide text; a character with no UTF-8 form becomes U+FFFD.
std::string ToUtf8(const std::wstring& wide);

// UTF-8 text on one line: line breaks and tabs written as \n, \r, \t.
std::string OneLine(const std::string& text);

}  // namespace dicomsettings_tool

#endif
