#include "exporters/templates/registry/registry_value_text.h"

#include <array>

#include "exporters/toolkit/registry_values.h"

namespace tabulon {
namespace {

struct TypeName {
  std::uint32_t type;
  std::string_view name;
};
constexpr std::array<TypeName, 5> kTypeNames{{
    {platform::kRegSz, "REG_SZ"},
    {platform::kRegExpandSz, "REG_EXPAND_SZ"},
    {platform::kRegBinary, "REG_BINARY"},
    {platform::kRegDword, "REG_DWORD"},
    {platform::kRegMultiSz, "REG_MULTI_SZ"},
}};
constexpr std::string_view kOtherType = "REG_OTHER";

std::string_view TypeNameOf(std::uint32_t type) {
  for (const TypeName& row : kTypeNames) {
    if (row.type == type) return row.name;
  }
  return kOtherType;
}

std::string Hex(std::string_view data) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  for (const char c : data) {
    const auto byte = static_cast<unsigned char>(c);
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0xF];
  }
  return text;
}

// YYYYMMDD as YYYY/MM/DD: the first four, the fifth and sixth and the last
// two characters, whatever the text's length.
std::string InstallDateText(const std::string& text) {
  const std::size_t tail = text.size() < 2 ? 0 : text.size() - 2;
  return text.substr(0, 4) + "/" + (text.size() > 4 ? text.substr(4, 2) : "") + "/" +
         text.substr(tail);
}

}  // namespace

RegistryValueText FormatRegistryValue(std::uint32_t type, std::string_view data,
                                      std::string_view value_name,
                                      std::string_view secondary_delimiter) {
  const RegistryValue value(data);
  RegistryValueText out{{}, TypeNameOf(type)};
  switch (type) {
    case platform::kRegSz:
    case platform::kRegExpandSz:
      out.text = value.Text();
      if (value_name == "InstallDate") out.text = InstallDateText(out.text);
      break;
    case platform::kRegBinary:
      out.text = Hex(data);
      break;
    case platform::kRegDword:
      out.text = std::to_string(static_cast<std::int32_t>(value.dword()));
      break;
    case platform::kRegMultiSz:
      out.text = value.Delimited(secondary_delimiter);
      break;
    default:
      out.text = "NO_FORMAT";
      break;
  }
  return out;
}

}  // namespace tabulon
