// Parsing keys into steps, and telling whether a filter key covers another.
#include "KeyFilter.h"

#include <algorithm>

namespace dicomsettings_tool {

// The steps of key; false when key is not "/Name[i]/Name...".
bool ToSteps(const std::string& key, std::vector<Step>* steps) {
  steps->clear();
  if (key.empty() || key[0] != '/') return false;
  for (size_t at = 1;;) {
    const size_t end = std::min(key.find('/', at), key.size());
    const std::string step = key.substr(at, end - at);
    const size_t open = step.find('[');
    Step parsed{step.substr(0, open), -1};
    if (parsed.name.empty() || parsed.name.find(']') != std::string::npos) return false;
    if (open != std::string::npos) {
      const std::string digits = step.substr(open + 1, step.size() - open - 2);
      if (step.back() != ']' || digits.empty() || digits.size() > 9 ||
          digits.find_first_not_of("0123456789") != std::string::npos) {
        return false;
      }
      parsed.index = std::stoll(digits);
    }
    steps->push_back(parsed);
    if (end == key.size()) return true;
    at = end + 1;
  }
}

// Whether filter names key or a node above it: step by step the same element,
// at any index where filter gives none (a step of key without one is index 0).
bool Covers(const std::vector<Step>& filter, const std::string& key) {
  std::vector<Step> steps;
  if (!ToSteps(key, &steps) || steps.size() < filter.size()) return false;
  for (size_t i = 0; i < filter.size(); ++i) {
    if (filter[i].name != steps[i].name) return false;
    if (filter[i].index >= 0 && filter[i].index != std::max(steps[i].index, 0LL)) return false;
  }
  return true;
}

bool ParseFilters(const std::vector<std::string>& keys, KeyFilters* filters, std::string* why) {
  filters->assign(keys.size(), {});
  for (size_t i = 0; i < keys.size(); ++i) {
    if (!ToSteps(keys[i], &(*filters)[i])) {
      *why = keys[i] + ": not a key, such as /EchoScu/TaskCount";
      return false;
    }
  }
  return true;
}

bool Wanted(const KeyFilters& filters, const std::string& key) {
  return filters.empty() || std::any_of(filters.begin(), filters.end(),
                                        [&](const auto& filter) { return Covers(filter, key); });
}

}  // namespace dicomsettings_tool
