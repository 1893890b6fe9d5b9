#pragma once
// Symbolic names that estate files may use instead of numbers: server-type
// bits, account flags, service types, states and start types, SID uses.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tabulon::estate {

struct NamedValue {
  std::string_view name;
  std::uint32_t value;
};

struct Vocabulary {
  std::span<const NamedValue> names;
  std::string_view prefix;  // the Windows constant prefix, optional in files
};

// The 25 server-type bits, WORKSTATION 0x1 to V_CLUSTER 0x4000000.
Vocabulary ServerTypes();
// UF_* flags of machine and user accounts.
Vocabulary AccountFlags();
Vocabulary ServiceTypes();
Vocabulary ServiceStates();
Vocabulary ServiceStartTypes();
Vocabulary SidUses();

// Case-insensitive, with or without the prefix.
std::optional<std::uint32_t> ValueOfName(const Vocabulary& vocabulary, std::string_view name);
// "A, B, C" for error messages.
std::string ListNames(const Vocabulary& vocabulary);

}  // namespace tabulon::estate
