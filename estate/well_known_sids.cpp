#include "estate/well_known_sids.h"

#include <vector>

namespace tabulon::estate {
namespace {

using platform::Sid;
using platform::SidNameUse;

constexpr std::uint64_t kWorld = 1;
constexpr std::uint64_t kCreator = 3;
constexpr std::uint64_t kNt = 5;
constexpr std::uint32_t kBuiltin = 32;

std::vector<WellKnownAccount> BuildTable() {
  const auto nt = [](std::uint32_t rid, std::string_view name) {
    return WellKnownAccount{Sid{1, kNt, {rid}}, "NT AUTHORITY", name, SidNameUse::kWellKnownGroup};
  };
  const auto builtin = [](std::uint32_t rid, std::string_view name) {
    return WellKnownAccount{Sid{1, kNt, {kBuiltin, rid}}, "BUILTIN", name, SidNameUse::kAlias};
  };
  return {
      {Sid{1, kWorld, {0}}, "", "Everyone", SidNameUse::kWellKnownGroup},
      {Sid{1, kCreator, {0}}, "", "CREATOR OWNER", SidNameUse::kWellKnownGroup},
      {Sid{1, kCreator, {1}}, "", "CREATOR GROUP", SidNameUse::kWellKnownGroup},
      nt(2, "NETWORK"),
      nt(4, "INTERACTIVE"),
      nt(6, "SERVICE"),
      nt(7, "ANONYMOUS LOGON"),
      nt(11, "Authenticated Users"),
      nt(18, "SYSTEM"),
      nt(19, "LOCAL SERVICE"),
      nt(20, "NETWORK SERVICE"),
      {Sid{1, kNt, {kBuiltin}}, "BUILTIN", "BUILTIN", SidNameUse::kDomain},
      builtin(544, "Administrators"),
      builtin(545, "Users"),
      builtin(546, "Guests"),
      builtin(547, "Power Users"),
      builtin(548, "Account Operators"),
      builtin(549, "Server Operators"),
      builtin(550, "Print Operators"),
      builtin(551, "Backup Operators"),
      builtin(552, "Replicator"),
      builtin(555, "Remote Desktop Users"),
      builtin(556, "Network Configuration Operators"),
  };
}

}  // namespace

std::span<const WellKnownAccount> WellKnownAccounts() {
  static const std::vector<WellKnownAccount> table = BuildTable();
  return table;
}

}  // namespace tabulon::estate
