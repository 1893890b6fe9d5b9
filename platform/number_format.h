#pragma once
// Decimal number texts as GetNumberFormat writes them, given the locale's
// separators and grouping.
#include <optional>
#include <string>
#include <string_view>

namespace tabulon::platform {

struct NumberFacts {
  std::string decimal_point = ".";
  // Empty: digits are not grouped.
  std::string thousands_separator;
  // POSIX grouping bytes, rightmost group first; the last size repeats and
  // CHAR_MAX ends grouping ("\3" groups by thousands, "\3\2" as in India).
  std::string grouping;
  int decimals = 2;
};

// `digits` is an optional '-' followed by decimal digits with at most one '.'
// (always a point). The value is rounded half away from zero to the number of
// decimals; a negative value that rounds to zero loses its sign. Nothing for
// any other text.
std::optional<std::string> FormatNumberText(std::string_view digits, const NumberFacts& facts);

}  // namespace tabulon::platform
