#include "platform/address_text.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include "platform/win32/wide.h"

namespace tabulon::platform {

// InetPtonW parses without the sockets being started (no WSAStartup).
std::optional<std::array<std::uint8_t, 4>> ParseIpv4Text(const std::string& text) {
  std::array<std::uint8_t, 4> out{};
  const std::wstring wide = win32::ToWide(text);
  if (::InetPtonW(AF_INET, wide.c_str(), out.data()) != 1) return std::nullopt;
  return out;
}

std::optional<std::array<std::uint8_t, 16>> ParseIpv6Text(const std::string& text) {
  std::array<std::uint8_t, 16> out{};
  const std::wstring wide = win32::ToWide(text);
  if (::InetPtonW(AF_INET6, wide.c_str(), out.data()) != 1) return std::nullopt;
  return out;
}

}  // namespace tabulon::platform
