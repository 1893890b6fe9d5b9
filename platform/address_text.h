#pragma once
// IP addresses written as text, read into network byte order.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace tabulon::platform {

// Dotted IPv4 ("192.0.2.7").
std::optional<std::array<std::uint8_t, 4>> ParseIpv4Text(const std::string& text);
// Any IPv6 text form, "::" and a trailing dotted IPv4 part included.
std::optional<std::array<std::uint8_t, 16>> ParseIpv6Text(const std::string& text);

}  // namespace tabulon::platform
