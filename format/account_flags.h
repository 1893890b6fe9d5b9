#pragma once
// The names of the account control flags, shared by the users export and the
// directory's useraccountcontrol attribute.
#include <cstdint>
#include <string>
#include <vector>

namespace tabulon::format {

// The names of the set UF_* bits, in the order they are written; other bits
// have no name.
std::vector<std::string> AccountFlagNames(std::uint32_t flags);

}  // namespace tabulon::format
