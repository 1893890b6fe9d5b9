#include "platform/object_security.h"

#include <array>
#include <utility>

#include "platform/text.h"

namespace tabulon::platform {
namespace {

// The names GetNamedSecurityInfoW takes for the predefined keys. Windows
// defines none for HKEY_CURRENT_CONFIG; its key's own name stands in.
constexpr std::array<std::pair<std::string_view, RegistryKey>, 5> kRegistryRoots{{
    {"MACHINE", kHkeyLocalMachine},
    {"CLASSES_ROOT", kHkeyClassesRoot},
    {"USERS", kHkeyUsers},
    {"CURRENT_CONFIG", kHkeyCurrentConfig},
    {"CURRENT_USER", kHkeyCurrentUser},
}};

}  // namespace

std::string_view RegistryObjectRoot(RegistryKey hive) {
  for (const auto& [name, key] : kRegistryRoots) {
    if (key == hive) return name;
  }
  return {};
}

std::optional<RegistryKey> RegistryHiveOfRoot(std::string_view root) {
  for (const auto& [name, key] : kRegistryRoots) {
    if (text::EqualsNoCase(name, root)) return key;
  }
  return std::nullopt;
}

}  // namespace tabulon::platform
