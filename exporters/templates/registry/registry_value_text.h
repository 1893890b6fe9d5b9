#pragma once
// Registry value data as a registry template writes it, with the name of
// its data type.
#include <cstdint>
#include <string>
#include <string_view>

namespace tabulon {

struct RegistryValueText {
  std::string text;
  std::string_view type_name;
};

// Text, expandable text, binary, DWORD and multi-string data; every other
// type is "NO_FORMAT" of type "REG_OTHER". A text value named InstallDate
// (YYYYMMDD) is written YYYY/MM/DD. Only called for non-empty data.
RegistryValueText FormatRegistryValue(std::uint32_t type, std::string_view data,
                                      std::string_view value_name,
                                      std::string_view secondary_delimiter);

}  // namespace tabulon
