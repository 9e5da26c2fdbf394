// The nearest known name to a misspelt one, for "did you mean" hints.
#ifndef DICOMSETTINGS_TOOLS_NEAREST_H
#define DICOMSETTINGS_TOOLS_NEAREST_H

#include <string>
#include <vector>

namespace dicomsettings_tool {

// Number of single-character insertions, deletions, substitutions and swaps of
// two neighbouring characters that turn a into b ("shwo" is one edit from "show").
size_t EditDistance(const std::string& a, const std::string& b);

// The candidate closest to name, or "" when none is close enough to be a
// plausible misspelling (at most a third of the name's length apart, and at
// least one edit allowed).
std::string NearestName(const std::string& name, const std::vector<std::string>& candidates);

// ' (did you mean "<nearest>"?)' or "" when there is no plausible candidate.
std::string DidYouMean(const std::string& name, const std::vector<std::string>& candidates);

}  // namespace dicomsettings_tool

#endif
