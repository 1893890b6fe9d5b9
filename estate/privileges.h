#pragma once
// The rights and privileges a Windows computer knows, with the display
// names LookupPrivilegeDisplayName gives in English; logon rights have
// none.
#include <cstdint>
#include <span>
#include <string_view>

namespace tabulon::estate {

struct PrivilegeInfo {
  std::string_view name;
  std::string_view display_name;  // empty: a logon right
  // The first major version that knows it; 0: every version.
  std::uint32_t since_major = 0;
  // Known by name but not granted by any LSA (an NT-era leftover).
  bool obsolete = false;
};

std::span<const PrivilegeInfo> Privileges();
// Without regard to case; null for a name Windows does not know.
const PrivilegeInfo* FindPrivilege(std::string_view name);
// Whether a computer of `major_version` knows it.
bool KnownOn(const PrivilegeInfo& privilege, std::uint32_t major_version);

}  // namespace tabulon::estate
