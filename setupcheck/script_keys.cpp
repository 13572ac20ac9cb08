// Recognising settings and list keys, and guessing what a misspelt key was meant to be.
#include "setupcheck/script_keys.h"

#include <algorithm>
#include <vector>

#include "setup/script/text.h"

namespace setupcheck {

namespace {

using setup::ToUpperAscii;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t TrailingDigits(std::string_view key) {
  std::size_t digits = 0;
  while (digits < key.size() && IsDigit(key[key.size() - 1 - digits])) ++digits;
  return digits;
}

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

bool ParseListKey(std::string_view key, ListKey* result) {
  const std::string upper = ToUpperAscii(key);
  const std::size_t digits = TrailingDigits(upper);
  if (digits == 0 || digits == upper.size()) return false;
  const std::string stem = upper.substr(0, upper.size() - digits);
  if (std::find(std::begin(kListStems), std::end(kListStems), stem) == std::end(kListStems)) return false;
  const std::string number = upper.substr(upper.size() - digits);
  result->stem = stem;
  result->wellFormed = number[0] != '0' && digits <= 9;
  result->number = 0;
  if (digits <= 9) {
    for (char c : number) result->number = result->number * 10 + static_cast<std::uint32_t>(c - '0');
  }
  return true;
}

bool IsSettingKey(std::string_view key) {
  const std::string upper = ToUpperAscii(key);
  return std::find(std::begin(kSettingKeys), std::end(kSettingKeys), upper) != std::end(kSettingKeys);
}

std::string SuggestKey(std::string_view unknownKey) {
  const std::string upper = ToUpperAscii(unknownKey);
  const std::size_t digits = TrailingDigits(upper);
  if (digits > 0 && digits < upper.size()) {
    const std::string stem = Closest(upper.substr(0, upper.size() - digits),
                                     std::vector<std::string>(std::begin(kListStems), std::end(kListStems)));
    if (!stem.empty()) return stem + upper.substr(upper.size() - digits);
  }
  return Closest(upper, std::vector<std::string>(std::begin(kSettingKeys), std::end(kSettingKeys)));
}

}  // namespace setupcheck
