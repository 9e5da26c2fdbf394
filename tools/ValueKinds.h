// Which texts are values of each kind. The library reads leniently (an integer
// "12abc" reads 12, a boolean " TRUE" reads 0); these checks are strict, so that
// a text is accepted only when the library reads it as what it says.
#ifndef DICOMSETTINGS_TOOLS_VALUEKINDS_H
#define DICOMSETTINGS_TOOLS_VALUEKINDS_H

#include <string>

#include "SettingsSchema.h"

namespace dicomsettings_tool {

using DicomAccessLibraryCpp::ValueKind;

// Whether a stored text reads as a value of kind: an integer in the int range
// (blanks around it allowed), a finite number ("." or, from older writers, ","
// as decimal point), TRUE or FALSE in any letter case, or any string. An empty
// text is an unset value and passes. False with *why saying what is wrong.
bool IsValueText(ValueKind kind, const std::wstring& text, std::string* why);

// The text `set` stores for input given as a value of kind: an integer as "%d",
// a number as "%f", TRUE or FALSE (given in any letter case), a string
// unchanged, and an empty text as it is for every kind (a value cleared). False
// with *why when input is no such value (an integer out of range says so), is
// longer than a value text may be, or holds a character a settings file cannot
// hold.
bool TextToStore(ValueKind kind, const std::wstring& input, std::wstring* text, std::string* why);

}  // namespace dicomsettings_tool

#endif
