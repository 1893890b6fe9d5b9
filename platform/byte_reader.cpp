#include "platform/byte_reader.h"

#include "platform/text.h"

namespace tabulon::platform {

std::optional<std::string> Utf16zAt(std::span<const std::uint8_t> bytes, std::size_t at) {
  std::string units;
  for (; at < bytes.size() && bytes.size() - at >= 2; at += 2) {
    if (bytes[at] == 0 && bytes[at + 1] == 0) return text::Utf16LeToUtf8(units);
    units.push_back(static_cast<char>(bytes[at]));
    units.push_back(static_cast<char>(bytes[at + 1]));
  }
  return std::nullopt;
}

}  // namespace tabulon::platform
