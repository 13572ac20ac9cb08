// Integer parsing for script values and "long" registry lines.
#include "setup/script/numbers.h"

namespace setup {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::uint64_t> ParseDigits(std::string_view digits, int base, std::uint64_t limit) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    const int digit = HexDigit(c);
    if (digit < 0 || digit >= base) return std::nullopt;
    value = value * base + digit;
    if (value > limit) return std::nullopt;
  }
  return value;
}

// Hexadecimal digits take the full 32 bits ("FFFFFFFF" is -1).
std::optional<std::int32_t> ParseHexadecimal(std::string_view digits) {
  const std::optional<std::uint64_t> value = ParseDigits(digits, 16, 0xFFFFFFFFull);
  if (!value) return std::nullopt;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(*value));
}

}  // namespace

// A hexadecimal mark ("$", or "0x" in a text longer than two characters) stands at the very
// start: a sign before it makes the text no number, so "-$1" never reads as a value.
std::optional<std::int32_t> ParseInteger(std::string_view text) {
  if (!text.empty() && text[0] == '$') return ParseHexadecimal(text.substr(1));
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) return ParseHexadecimal(text.substr(2));
  bool negative = false;
  std::string_view digits = text;
  if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) {
    negative = digits[0] == '-';
    digits.remove_prefix(1);
  }
  const std::optional<std::uint64_t> magnitude = ParseDigits(digits, 10, negative ? 0x80000000ull : 0x7FFFFFFFull);
  if (!magnitude) return std::nullopt;
  const std::uint32_t bits = static_cast<std::uint32_t>(*magnitude);
  return static_cast<std::int32_t>(negative ? 0u - bits : bits);
}

}  // namespace setup
