#pragma once
// The text of a WMI property value in a template row, by the VARIANT type
// it came as and its CIM type.
#include <string>
#include <string_view>

#include "platform/wmi.h"

namespace tabulon {

// What the cell text depends on besides the value.
struct WmiValueFormat {
  std::string_view secondary_delimiter = "^";
  std::string_view crlf_replacement = "~";
};

std::string FormatWmiValue(const platform::WmiVariant& value, std::uint16_t cim_type,
                           const WmiValueFormat& format);

}  // namespace tabulon
