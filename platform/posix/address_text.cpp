#include "platform/address_text.h"

#include <arpa/inet.h>

namespace tabulon::platform {

std::optional<std::array<std::uint8_t, 4>> ParseIpv4Text(const std::string& text) {
  std::array<std::uint8_t, 4> out{};
  if (::inet_pton(AF_INET, text.c_str(), out.data()) != 1) return std::nullopt;
  return out;
}

std::optional<std::array<std::uint8_t, 16>> ParseIpv6Text(const std::string& text) {
  std::array<std::uint8_t, 16> out{};
  if (::inet_pton(AF_INET6, text.c_str(), out.data()) != 1) return std::nullopt;
  return out;
}

}  // namespace tabulon::platform
