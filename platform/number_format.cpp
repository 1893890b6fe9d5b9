#include "platform/number_format.h"

#include <algorithm>
#include <climits>
#include <cstddef>

namespace tabulon::platform {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Adds one unit in the last place of a digit string; true when it carries
// out of the leftmost digit.
bool Increment(std::string& digits) {
  for (std::size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return false;
    }
    digits[i] = '0';
  }
  return true;
}

std::string Group(const std::string& integer, const NumberFacts& facts) {
  if (facts.thousands_separator.empty() || facts.grouping.empty()) return integer;
  std::string out;
  std::size_t end = integer.size();
  std::size_t group_index = 0;
  int size = 0;  // the last size repeats once the grouping runs out
  while (end > 0) {
    if (group_index < facts.grouping.size()) {
      const int next = static_cast<unsigned char>(facts.grouping[group_index++]);
      if (next == CHAR_MAX || next == 0) {
        size = -1;
      } else {
        size = next;
      }
    }
    if (size <= 0 || static_cast<std::size_t>(size) >= end) {
      out.insert(0, integer.substr(0, end));
      break;
    }
    out.insert(0, facts.thousands_separator + integer.substr(end - static_cast<std::size_t>(size),
                                                             static_cast<std::size_t>(size)));
    end -= static_cast<std::size_t>(size);
  }
  return out;
}

}  // namespace

std::optional<std::string> FormatNumberText(std::string_view digits, const NumberFacts& facts) {
  bool negative = false;
  if (!digits.empty() && digits.front() == '-') {
    negative = true;
    digits.remove_prefix(1);
  }
  const std::size_t point = digits.find('.');
  const std::string_view int_part = digits.substr(0, point);
  const std::string_view frac_part =
      point == std::string_view::npos ? std::string_view{} : digits.substr(point + 1);
  if (int_part.empty() && frac_part.empty()) return std::nullopt;
  for (char c : int_part) {
    if (!IsDigit(c)) return std::nullopt;
  }
  for (char c : frac_part) {
    if (!IsDigit(c)) return std::nullopt;
  }

  const auto decimals = static_cast<std::size_t>(facts.decimals < 0 ? 0 : facts.decimals);
  std::string integer(int_part.substr(std::min(int_part.find_first_not_of('0'), int_part.size())));
  std::string fraction(frac_part.substr(0, std::min(decimals, frac_part.size())));
  fraction.append(decimals - fraction.size(), '0');
  if (frac_part.size() > decimals && frac_part[decimals] >= '5') {
    std::string all = integer + fraction;
    if (Increment(all)) all.insert(0, "1");
    integer = all.substr(0, all.size() - decimals);
    fraction = all.substr(all.size() - decimals);
  }
  if (integer.empty()) integer = "0";
  if (integer == "0" && fraction.find_first_not_of('0') == std::string::npos) negative = false;

  std::string out = negative ? "-" : "";
  out += Group(integer, facts);
  if (decimals > 0) {
    out += facts.decimal_point;
    out += fraction;
  }
  return out;
}

}  // namespace tabulon::platform
