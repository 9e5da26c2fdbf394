// Conversions between setting values and their text in the settings file. They
// never depend on the process locale, so a value written by one service reads
// the same in every other.
#ifndef DICOMSETTINGS_BASE_VALUETEXT_H
#define DICOMSETTINGS_BASE_VALUETEXT_H

namespace AccessLibraryBaseCpp {

// As _wtoi: leading white space, optional sign, decimal digits up to the first
// other character; no digits give 0; beyond int clamps to INT_MAX / INT_MIN.
int ParseIntText(const wchar_t* text);

// As wcstod in the "C" locale, except that a text with a "," and no "." reads the
// "," as its decimal point. No number gives 0.0.
double ParseDoubleText(const wchar_t* text);

// "%d" of value into buffer (at least 16 wchar_t).
void FormatIntText(int value, wchar_t* buffer);

// "%f" of value with a "." into buffer (512 wchar_t).
void FormatDoubleText(double value, wchar_t* buffer);

// Whether text is the acceptable form the access base's path check describes:
// a drive letter, ":" and a separator, no "." or ".." segment between
// separators, at most 260 characters. Positions beyond the text are not checked.
bool HasAcceptablePathForm(const wchar_t* text);

}  // namespace AccessLibraryBaseCpp

#endif
