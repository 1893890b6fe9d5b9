#include "exporters/templates/wmi/wmi_values.h"

#include <vector>

#include "format/lists.h"

namespace tabulon {
namespace {

// A CIM datetime "yyyymmddHHMMSS.mmmmmmsUUU" as month/day/year time; an
// interval (offset ":000") stays as it is.
std::string DatetimeText(const std::string& value) {
  if (value.ends_with(":000") || value.size() < 14) return value;
  const auto part = [&](std::size_t from, std::size_t count) { return value.substr(from, count); };
  return part(4, 2) + "/" + part(6, 2) + "/" + part(0, 4) + " " + part(8, 2) + ":" + part(10, 2) +
         ":" + part(12, 2);
}

std::string IntegerText(const platform::WmiElement& e) {
  const auto* i = std::get_if<std::int64_t>(&e);
  return i != nullptr ? std::to_string(*i) : std::string();
}

std::string StringText(const platform::WmiElement& e) {
  const auto* s = std::get_if<std::string>(&e);
  return s != nullptr ? *s : std::string();
}

}  // namespace

std::string FormatWmiValue(const platform::WmiVariant& value, std::uint16_t cim_type,
                           const WmiValueFormat& format) {
  if (value.vt == platform::kVtEmpty || value.vt == platform::kVtNull) return {};
  if ((value.vt & platform::kVtArray) != 0) {
    const std::uint16_t element = value.vt & ~platform::kVtArray;
    if (element != platform::kVtUi1 && element != platform::kVtI4 && element != platform::kVtBstr) {
      return "NO_FORMAT";
    }
    std::vector<std::string> items;
    items.reserve(value.elements.size());
    for (const platform::WmiElement& e : value.elements) {
      items.push_back(element == platform::kVtBstr ? StringText(e) : IntegerText(e));
    }
    std::string joined;
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (i > 0) joined += format.secondary_delimiter;
      joined += items[i];
    }
    return element == platform::kVtBstr ? format::ReplaceLineBreaks(joined, format.crlf_replacement)
                                        : joined;
  }
  if (value.elements.empty()) return {};
  const platform::WmiElement& e = value.elements.front();
  switch (value.vt) {
    case platform::kVtBool:
      return IntegerText(e) == "0" ? "FALSE" : "TRUE";
    case platform::kVtI2:
    case platform::kVtI4:
    case platform::kVtUi1:
      return IntegerText(e);
    case platform::kVtBstr:
      if ((cim_type & ~platform::kCimFlagArray) == platform::kCimDatetime) {
        return DatetimeText(StringText(e));
      }
      return format::ReplaceLineBreaks(StringText(e), format.crlf_replacement);
    default:
      return "NO_FORMAT";
  }
}

}  // namespace tabulon
