// Keys that pick values: a key names a value, or every value below a list, an
// entry or an area. Used by the commands that list changes (history, watch).
#ifndef DICOMSETTINGS_TOOLS_KEYFILTER_H
#define DICOMSETTINGS_TOOLS_KEYFILTER_H

#include <string>
#include <vector>

namespace dicomsettings_tool {

// One step of a key: an element name and its index among same-named siblings,
// -1 where the step gives none.
struct Step {
  std::string name;
  long long index;
};

// The steps of key; false when key is not "/Name[i]/Name...".
bool ToSteps(const std::string& key, std::vector<Step>* steps);

// Whether filter names key or a node above it: step by step the same element,
// at any index where filter gives none (a step of key without one is index 0).
bool Covers(const std::vector<Step>& filter, const std::string& key);

// The keys given on a command line, each as its steps: false with *why naming
// the first that is no key.
using KeyFilters = std::vector<std::vector<Step>>;
bool ParseFilters(const std::vector<std::string>& keys, KeyFilters* filters, std::string* why);

// Whether key is wanted: no filters, or one that covers it.
bool Wanted(const KeyFilters& filters, const std::string& key);

}  // namespace dicomsettings_tool

#endif
