#pragma once
// Account texts shared by the users export and the directory's attributes:
// the names of the account control flags and the logon-hours string.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tabulon::format {

// The names of the set UF_* bits, in the order they are written; other bits
// have no name.
std::vector<std::string> AccountFlagNames(std::uint32_t flags);

// Eight "1" or "0" a byte, least significant bit first: one an hour of the
// week for 21 bytes.
std::string LogonHoursBits(std::span<const std::uint8_t> bytes);

}  // namespace tabulon::format
