#include "exporters/accounts/groups/group_type.h"

namespace tabulon {

std::string GroupTypeText(std::uint32_t group_type) {
  constexpr std::uint32_t kGlobalScope = 0x2;
  constexpr std::uint32_t kLocalScope = 0x4;
  constexpr std::uint32_t kSecurity = 0x80000000;
  std::string text = (group_type & kLocalScope) != 0    ? "Local"
                     : (group_type & kGlobalScope) != 0 ? "Global"
                                                        : "Universal";
  text += (group_type & kSecurity) != 0 ? " - (Security)" : " - (Distribution)";
  return text;
}

}  // namespace tabulon
