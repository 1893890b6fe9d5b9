#include "estate/operations.h"

#include <array>

#include "platform/text.h"

namespace tabulon::estate {
namespace {

// Sized by its entries, so that a missing name fails the assertion below.
constexpr auto kNames = std::to_array<std::string_view>({
    "NetServerGetInfo",
    "NetServerEnum",
    "NetQueryDisplayInformation",
    "NetGetDCName",
    "DsGetDcName",
    "OpenSCManager",
    "EnumServicesStatus",
    "OpenService",
    "QueryServiceConfig",
    "CloseServiceHandle",
    "LookupAccountSid",
    "LookupAccountName",
    "SystemEcho",
    "RawEcho",
    "WTSOpenServer",
    "WTSCloseServer",
    "WTSEnumerateSessions",
    "WTSEnumerateProcesses",
    "WTSQuerySessionInformation",
    "WTSQueryUserConfig",
    "WinStationQueryInformation",
    "NetShareEnum",
    "NetShareGetInfo",
    "NetConnectionEnum",
    "NetSessionEnum",
    "NetFileEnum",
    "NetServerDiskEnum",
    "NetWkstaTransportEnum",
    "GetDiskFreeSpaceEx",
    "GetVolumeInformation",
    "FindFirstFile",
    "ReadFile",
    "RegConnectRegistry",
    "RegOpenKey",
    "RegQueryValue",
    "RegEnumKey",
    "RegEnumValue",
    "RegQueryInfoKey",
    "RegCloseKey",
    "EnumPrinters",
    "OpenPrinter",
    "GetPrinter",
    "ClosePrinter",
    "NetLocalGroupEnum",
    "NetLocalGroupGetMembers",
    "NetLocalGroupGetInfo",
    "NetGroupGetInfo",
    "NetGroupGetUsers",
    "NetUserGetInfo",
    "NetUserGetLocalGroups",
    "NetUserGetGroups",
    "LsaOpenPolicy",
    "LsaClose",
    "LsaEnumerateAccountsWithUserRight",
    "LsaQueryInformationPolicy",
    "LookupPrivilegeDisplayName",
    "NetUserModalsGet",
    "NetScheduleJobEnum",
    "CreateTaskScheduler",
    "SetTargetComputer",
    "EnumWorkItems",
    "ActivateWorkItem",
    "ReleaseTaskScheduler",
    "CreateTaskService",
    "TaskServiceConnect",
    "GetTaskFolder",
    "GetTaskFolders",
    "GetTasks",
    "ReleaseTaskService",
    "MprAdminUserGetInfo",
    "RasAdminUserGetInfo",
    "LdapBind",
    "LdapSearch",
    "CreateWbemLocator",
    "ConnectServer",
    "CoSetProxyBlanket",
    "ExecQuery",
    "WbemNext",
    "ReleaseWbemObject",
    "GetNamedSecurityInfo",
});
static_assert(kNames.size() == static_cast<std::size_t>(kLastOperation) + 1);

}  // namespace

std::string_view OperationName(Operation op) {
  return kNames[static_cast<std::size_t>(op)];
}

std::optional<Operation> OperationFromName(std::string_view name) {
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    if (text::EqualsNoCase(kNames[i], name)) return static_cast<Operation>(i);
  }
  return std::nullopt;
}

bool CanInjectFailure(Operation op) {
  return op != Operation::kCloseServiceHandle && op != Operation::kWTSCloseServer &&
         op != Operation::kRegCloseKey && op != Operation::kClosePrinter &&
         op != Operation::kLsaClose && op != Operation::kReleaseTaskScheduler &&
         op != Operation::kReleaseTaskService && op != Operation::kReleaseWbemObject;
}

}  // namespace tabulon::estate
