// Writing a distinct value through every value of an object, with the texts the
// library stores for them.
#ifndef DICOMSETTINGS_TESTS_LEAFVALUES_H
#define DICOMSETTINGS_TESTS_LEAFVALUES_H

#include <string>
#include <vector>

#include "SavedFile.h"
#include "SchemaLeaves.h"

// Writes through each leaf, with its own proxy class, a value no other leaf gets
// (from its position) and returns the texts path should then hold, by canonical
// key. A boolean carries one bit, so booleans are written in rounds: in round r
// boolean b holds bit r of b + 1, and after each round the store is asked for
// every boolean's expected key in path, so that no two can trade keys unseen.
KeyTexts WriteDistinct(const std::vector<Leaf>& leaves, const std::wstring& path);

// The text stored under key in path, or "<result N>" when the store fails.
std::wstring StoredText(const std::wstring& path, const std::wstring& key);

#endif
