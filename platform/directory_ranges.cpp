#include "platform/directory_ranges.h"

#include <charconv>
#include <string>

#include "platform/directory_status.h"
#include "platform/text.h"

namespace tabulon::platform {
namespace {

constexpr std::string_view kRangeOption = ";range=";

bool ParseNumber(std::string_view text, std::uint64_t& out) {
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::optional<AttributeRange> ParseAttributeRange(std::string_view name) {
  const std::string lower = text::ToLower(name);
  const std::size_t at = lower.find(kRangeOption);
  if (at == std::string::npos || at == 0) return std::nullopt;
  const std::string_view bounds = name.substr(at + kRangeOption.size());
  const std::size_t dash = bounds.find('-');
  if (dash == std::string_view::npos) return std::nullopt;
  AttributeRange range;
  range.attribute = name.substr(0, at);
  if (!ParseNumber(bounds.substr(0, dash), range.low)) return std::nullopt;
  const std::string_view high = bounds.substr(dash + 1);
  if (high == "*") {
    range.last = true;
  } else if (!ParseNumber(high, range.high) || range.high < range.low) {
    return std::nullopt;
  }
  return range;
}

DirectoryStatus CompleteRanges(DirectoryEntry& entry, const RangeFetch& fetch) {
  for (DirectoryAttribute& attribute : entry.attributes) {
    std::optional<AttributeRange> range = ParseAttributeRange(attribute.name);
    if (!range) continue;
    const std::string plain(range->attribute);
    while (!range->last) {
      const std::uint64_t next = range->high + 1;
      DirectoryAttribute slice;
      DirectoryStatus status =
          fetch(entry.dn, plain + ";range=" + std::to_string(next) + "-*", slice);
      if (!status.ok()) return status;
      range = ParseAttributeRange(slice.name);
      // A slice that does not continue where the last ended would loop or
      // lose values.
      if (!range || range->low != next || !text::EqualsNoCase(range->attribute, plain)) {
        return DirectoryStatusFromLdap(kLdapDecodingError,
                                       "unexpected range in '" + slice.name + "'");
      }
      for (std::string& value : slice.values) attribute.values.push_back(std::move(value));
    }
    attribute.name = plain;
  }
  return {};
}

}  // namespace tabulon::platform
