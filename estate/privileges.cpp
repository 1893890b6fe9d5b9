#include "estate/privileges.h"

#include <array>

#include "platform/text.h"

namespace tabulon::estate {
namespace {

constexpr std::uint32_t kVista = 6;

constexpr std::array<PrivilegeInfo, 45> kPrivileges{{
    {"SeCreateTokenPrivilege", "Create a token object"},
    {"SeAssignPrimaryTokenPrivilege", "Replace a process level token"},
    {"SeLockMemoryPrivilege", "Lock pages in memory"},
    {"SeIncreaseQuotaPrivilege", "Adjust memory quotas for a process"},
    {"SeUnsolicitedInputPrivilege", "", 0, true},
    {"SeMachineAccountPrivilege", "Add workstations to domain"},
    {"SeTcbPrivilege", "Act as part of the operating system"},
    {"SeSecurityPrivilege", "Manage auditing and security log"},
    {"SeTakeOwnershipPrivilege", "Take ownership of files or other objects"},
    {"SeLoadDriverPrivilege", "Load and unload device drivers"},
    {"SeSystemProfilePrivilege", "Profile system performance"},
    {"SeSystemtimePrivilege", "Change the system time"},
    {"SeProfileSingleProcessPrivilege", "Profile single process"},
    {"SeIncreaseBasePriorityPrivilege", "Increase scheduling priority"},
    {"SeCreatePagefilePrivilege", "Create a pagefile"},
    {"SeCreatePermanentPrivilege", "Create permanent shared objects"},
    {"SeBackupPrivilege", "Back up files and directories"},
    {"SeRestorePrivilege", "Restore files and directories"},
    {"SeShutdownPrivilege", "Shut down the system"},
    {"SeDebugPrivilege", "Debug programs"},
    {"SeAuditPrivilege", "Generate security audits"},
    {"SeSystemEnvironmentPrivilege", "Modify firmware environment values"},
    {"SeChangeNotifyPrivilege", "Bypass traverse checking"},
    {"SeRemoteShutdownPrivilege", "Force shutdown from a remote system"},
    {"SeUndockPrivilege", "Remove computer from docking station"},
    {"SeSyncAgentPrivilege", "Synchronize directory service data"},
    {"SeEnableDelegationPrivilege",
     "Enable computer and user accounts to be trusted for delegation"},
    {"SeManageVolumePrivilege", "Perform volume maintenance tasks"},
    {"SeImpersonatePrivilege", "Impersonate a client after authentication"},
    {"SeCreateGlobalPrivilege", "Create global objects"},
    {"SeTrustedCredManAccessPrivilege", "Access Credential Manager as a trusted caller", kVista},
    {"SeRelabelPrivilege", "Modify an object label", kVista},
    {"SeIncreaseWorkingSetPrivilege", "Increase a process working set", kVista},
    {"SeTimeZonePrivilege", "Change the time zone", kVista},
    {"SeCreateSymbolicLinkPrivilege", "Create symbolic links", kVista},
    {"SeNetworkLogonRight", ""},
    {"SeInteractiveLogonRight", ""},
    {"SeBatchLogonRight", ""},
    {"SeServiceLogonRight", ""},
    {"SeRemoteInteractiveLogonRight", ""},
    {"SeDenyNetworkLogonRight", ""},
    {"SeDenyInteractiveLogonRight", ""},
    {"SeDenyBatchLogonRight", ""},
    {"SeDenyServiceLogonRight", ""},
    {"SeDenyRemoteInteractiveLogonRight", ""},
}};

}  // namespace

std::span<const PrivilegeInfo> Privileges() {
  return kPrivileges;
}

const PrivilegeInfo* FindPrivilege(std::string_view name) {
  for (const PrivilegeInfo& p : kPrivileges) {
    if (text::EqualsNoCase(p.name, name)) return &p;
  }
  return nullptr;
}

bool KnownOn(const PrivilegeInfo& privilege, std::uint32_t major_version) {
  return !privilege.obsolete && major_version >= privilege.since_major;
}

}  // namespace tabulon::estate
