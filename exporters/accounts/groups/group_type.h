#pragma once
#include <cstdint>
#include <string>

namespace tabulon {

// The scope and kind of a directory group from its groupType value:
// 0x80000002 gives "Global - (Security)".
std::string GroupTypeText(std::uint32_t group_type);

}  // namespace tabulon
