#include "estate/vocabulary.h"

#include <array>

#include "platform/text.h"

namespace tabulon::estate {
namespace {

constexpr std::array kServerTypes{
    NamedValue{"WORKSTATION", 0x1},
    NamedValue{"SERVER", 0x2},
    NamedValue{"SQL", 0x4},
    NamedValue{"PDC", 0x8},
    NamedValue{"BDC", 0x10},
    NamedValue{"TIME", 0x20},
    NamedValue{"AFP", 0x40},
    NamedValue{"NOVELL", 0x80},
    NamedValue{"MEMBER", 0x100},
    NamedValue{"PRINTQ", 0x200},
    NamedValue{"DIALIN", 0x400},
    NamedValue{"UNIX", 0x800},
    NamedValue{"NT", 0x1000},
    NamedValue{"WFW", 0x2000},
    NamedValue{"MFPN", 0x4000},
    NamedValue{"WINDOWS_SERVER", 0x8000},
    NamedValue{"POTENTIAL_BROWSER", 0x10000},
    NamedValue{"BACKUP_BROWSER", 0x20000},
    NamedValue{"MASTER_BROWSER", 0x40000},
    NamedValue{"DOMAIN_BROWSER", 0x80000},
    NamedValue{"WINDOWS", 0x400000},
    NamedValue{"DFS", 0x800000},
    NamedValue{"CLUSTER", 0x1000000},
    NamedValue{"TSE", 0x2000000},
    NamedValue{"V_CLUSTER", 0x4000000},
};

constexpr std::array kAccountFlags{
    NamedValue{"SCRIPT", 0x1},
    NamedValue{"ACCOUNTDISABLE", 0x2},
    NamedValue{"LOCKOUT", 0x10},
    NamedValue{"PASSWD_NOTREQD", 0x20},
    NamedValue{"NORMAL_ACCOUNT", 0x200},
    NamedValue{"INTERDOMAIN_TRUST_ACCOUNT", 0x800},
    NamedValue{"WORKSTATION_TRUST_ACCOUNT", 0x1000},
    NamedValue{"SERVER_TRUST_ACCOUNT", 0x2000},
    NamedValue{"DONT_EXPIRE_PASSWD", 0x10000},
    NamedValue{"TRUSTED_FOR_DELEGATION", 0x80000},
    NamedValue{"PASSWD_CANT_CHANGE", 0x40},
    NamedValue{"ENCRYPTED_TEXT_PASSWORD_ALLOWED", 0x80},
    NamedValue{"SMARTCARD_REQUIRED", 0x40000},
    NamedValue{"NOT_DELEGATED", 0x100000},
    NamedValue{"USE_DES_KEY_ONLY", 0x200000},
    NamedValue{"DONT_REQUIRE_PREAUTH", 0x400000},
    NamedValue{"TRUSTED_TO_AUTHENTICATE_FOR_DELEGATION", 0x1000000},
};

constexpr std::array kServiceTypes{
    NamedValue{"KERNEL_DRIVER", 0x1},
    NamedValue{"FILE_SYSTEM_DRIVER", 0x2},
    NamedValue{"ADAPTER", 0x4},
    NamedValue{"RECOGNIZER_DRIVER", 0x8},
    NamedValue{"WIN32_OWN_PROCESS", 0x10},
    NamedValue{"WIN32_SHARE_PROCESS", 0x20},
    NamedValue{"INTERACTIVE_PROCESS", 0x100},
};

constexpr std::array kServiceStates{
    NamedValue{"STOPPED", 1}, NamedValue{"START_PENDING", 2},    NamedValue{"STOP_PENDING", 3},
    NamedValue{"RUNNING", 4}, NamedValue{"CONTINUE_PENDING", 5}, NamedValue{"PAUSE_PENDING", 6},
    NamedValue{"PAUSED", 7},
};

constexpr std::array kServiceStartTypes{
    NamedValue{"BOOT_START", 0},   NamedValue{"BOOT", 0},       NamedValue{"SYSTEM_START", 1},
    NamedValue{"SYSTEM", 1},       NamedValue{"AUTO_START", 2}, NamedValue{"AUTO", 2},
    NamedValue{"DEMAND_START", 3}, NamedValue{"DEMAND", 3},     NamedValue{"MANUAL", 3},
    NamedValue{"DISABLED", 4},
};

constexpr std::array kSidUses{
    NamedValue{"User", 1},    NamedValue{"Group", 2},          NamedValue{"Domain", 3},
    NamedValue{"Alias", 4},   NamedValue{"WellKnownGroup", 5}, NamedValue{"DeletedAccount", 6},
    NamedValue{"Invalid", 7}, NamedValue{"Unknown", 8},        NamedValue{"Computer", 9},
    NamedValue{"Label", 10},
};

}  // namespace

Vocabulary ServerTypes() {
  return {kServerTypes, "SV_TYPE_"};
}
Vocabulary AccountFlags() {
  return {kAccountFlags, "UF_"};
}
Vocabulary ServiceTypes() {
  return {kServiceTypes, "SERVICE_"};
}
Vocabulary ServiceStates() {
  return {kServiceStates, "SERVICE_"};
}
Vocabulary ServiceStartTypes() {
  return {kServiceStartTypes, "SERVICE_"};
}
Vocabulary SidUses() {
  return {kSidUses, "SidType"};
}

std::optional<std::uint32_t> ValueOfName(const Vocabulary& vocabulary, std::string_view name) {
  if (text::StartsWithNoCase(name, vocabulary.prefix)) name.remove_prefix(vocabulary.prefix.size());
  for (const auto& entry : vocabulary.names) {
    if (text::EqualsNoCase(entry.name, name)) return entry.value;
  }
  return std::nullopt;
}

std::string ListNames(const Vocabulary& vocabulary) {
  std::string out;
  for (const auto& entry : vocabulary.names) {
    if (!out.empty()) out += ", ";
    out += entry.name;
  }
  return out;
}

}  // namespace tabulon::estate
