#include "estate/sizes.h"

#include "platform/text.h"

namespace tabulon::estate {

std::uint32_t Utf16Units(std::string_view utf8) {
  // Plain ASCII, by far the usual case, is one unit a byte.
  bool ascii = true;
  for (char c : utf8) ascii &= static_cast<unsigned char>(c) < 0x80;
  if (ascii) return static_cast<std::uint32_t>(utf8.size());
  std::uint32_t units = 0;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    units += text::NextCodePoint(utf8, pos) >= 0x10000 ? 2 : 1;
  }
  return units;
}

std::uint32_t WideStringBytes(std::string_view utf8) {
  return 2 * (Utf16Units(utf8) + 1);
}

std::uint32_t EnumServiceStatusBytes(const Service& service) {
  return 36 + WideStringBytes(service.name) + WideStringBytes(service.display_name);
}

std::uint32_t ServiceConfigBytes(const Service& service) {
  std::uint32_t dependencies = 2;  // the closing NUL of the list
  for (const auto& name : service.dependencies) dependencies += WideStringBytes(name);
  return 36 + WideStringBytes(service.binary_path) + WideStringBytes(service.load_order_group) +
         dependencies + WideStringBytes(service.account) + WideStringBytes(service.display_name);
}

std::uint32_t ServerInfo101Bytes(const platform::ServerInfo101& info) {
  return 24 + WideStringBytes(info.name) + WideStringBytes(info.comment);
}

std::uint32_t DisplayMachineBytes(const ComputerAccount& account) {
  return 20 + WideStringBytes(account.name) + WideStringBytes(account.comment);
}

}  // namespace tabulon::estate
