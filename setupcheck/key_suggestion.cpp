// Guessing what a misspelt key was meant to be, by edit distance to the known keys.
#include "setupcheck/key_suggestion.h"

#include <algorithm>
#include <vector>

#include "setup/script/script_keys.h"
#include "setup/script/text.h"

namespace setupcheck {

namespace {

using setup::ToUpperAscii;

// Edits (insert, delete, replace, swap of neighbours) that turn a into b.
std::size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  }
  return d[a.size()][b.size()];
}

// The closest of the candidates within a distance that fits the word's length; empty if none.
std::string Closest(const std::string& word, const std::vector<std::string>& candidates) {
  const std::size_t allowed = word.size() <= 4 ? 1 : 2;
  std::string best;
  std::size_t bestDistance = allowed + 1;
  for (const std::string& candidate : candidates) {
    const std::size_t distance = EditDistance(word, candidate);
    if (distance < bestDistance) {
      best = candidate;
      bestDistance = distance;
    }
  }
  return best;
}

}  // namespace

std::string SuggestKey(std::string_view unknownKey) {
  const std::string upper = ToUpperAscii(unknownKey);
  const std::size_t digits = setup::TrailingDigits(upper);
  if (digits > 0 && digits < upper.size()) {
    std::vector<std::string> stems;
    for (const setup::ListStem& list : setup::kListStems) stems.push_back(list.stem);
    const std::string stem = Closest(upper.substr(0, upper.size() - digits), stems);
    if (!stem.empty()) return stem + upper.substr(upper.size() - digits);
  }
  std::vector<std::string> settings;
  for (const setup::SettingKey& setting : setup::kSettingKeys) settings.push_back(setting.name);
  return Closest(upper, settings);
}

}  // namespace setupcheck
