#pragma once
// The SIDs every Windows computer resolves by itself, whatever its domain.
#include <span>
#include <string_view>

#include "platform/security.h"

namespace tabulon::estate {

struct WellKnownAccount {
  platform::Sid sid;
  std::string_view domain;  // "NT AUTHORITY", "BUILTIN" or empty
  std::string_view name;
  platform::SidNameUse use;
};

std::span<const WellKnownAccount> WellKnownAccounts();

}  // namespace tabulon::estate
