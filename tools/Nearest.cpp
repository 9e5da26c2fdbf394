// Edit distance with rolling rows, and the choice of the closest candidate.
#include "Nearest.h"

#include <algorithm>

namespace dicomsettings_tool {

size_t EditDistance(const std::string& a, const std::string& b) {
  // Rows i-2, i-1 and i of the distance table between prefixes of a and b.
  std::vector<size_t> before(b.size() + 1);
  std::vector<size_t> previous(b.size() + 1);
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) previous[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t substitute = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
      row[j] = std::min({previous[j] + 1, row[j - 1] + 1, substitute});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        row[j] = std::min(row[j], before[j - 2] + 1);
      }
    }
    before.swap(previous);
    previous.swap(row);
  }
  return previous[b.size()];
}

std::string NearestName(const std::string& name, const std::vector<std::string>& candidates) {
  const size_t allowed = std::max<size_t>(1, name.size() / 3);
  std::string best;
  size_t bestDistance = allowed + 1;
  for (const std::string& candidate : candidates) {
    const size_t distance = EditDistance(name, candidate);
    if (distance < bestDistance) {
      best = candidate;
      bestDistance = distance;
    }
  }
  return best;
}

std::string DidYouMean(const std::string& name, const std::vector<std::string>& candidates) {
  const std::string nearest = NearestName(name, candidates);
  return nearest.empty() ? std::string() : " (did you mean \"" + nearest + "\"?)";
}

}  // namespace dicomsettings_tool
