#pragma once
// The platform calls the estate answers, by the names that estate files use
// for failure injection and that the call log records.
#include <cstdint>
#include <optional>
#include <string_view>

namespace tabulon::estate {

enum class Operation : std::uint8_t {
  kNetServerGetInfo,
  kNetServerEnum,
  kNetQueryDisplayInformation,
  kNetGetDCName,
  kDsGetDcName,
  kOpenSCManager,
  kEnumServicesStatus,
  kOpenService,
  kQueryServiceConfig,
  kCloseServiceHandle,
  kLookupAccountSid,
  kLookupAccountName,
  kSystemEcho,
  kRawEcho,
  kWTSOpenServer,
  kWTSCloseServer,
  kWTSEnumerateSessions,
  kWTSEnumerateProcesses,
  kWTSQuerySessionInformation,
  kWTSQueryUserConfig,
  kWinStationQueryInformation,
  kNetShareEnum,
  kNetShareGetInfo,
  kNetConnectionEnum,
  kNetSessionEnum,
  kNetFileEnum,
  kNetServerDiskEnum,
  kNetWkstaTransportEnum,
  kGetDiskFreeSpaceEx,
  kGetVolumeInformation,
  kFindFirstFile,
  kReadFile,
  kRegConnectRegistry,
  kRegOpenKey,
  kRegQueryValue,
  kRegEnumKey,
  kRegEnumValue,
  kRegQueryInfoKey,
  kRegCloseKey,
  kEnumPrinters,
  kOpenPrinter,
  kGetPrinter,
  kClosePrinter,
  kNetLocalGroupEnum,
  kNetLocalGroupGetMembers,
  kNetLocalGroupGetInfo,
  kNetGroupGetInfo,
  kNetGroupGetUsers,
  kNetUserGetInfo,
  kNetUserGetLocalGroups,
  kNetUserGetGroups,
  // The local security policy.
  kLsaOpenPolicy,
  kLsaClose,
  kLsaEnumerateAccountsWithUserRight,
  kLsaQueryInformationPolicy,
  kLookupPrivilegeDisplayName,
  kNetUserModalsGet,
  // Scheduled tasks: the schedule service, Task Scheduler 1.0 and 2.0.
  kNetScheduleJobEnum,
  kCreateTaskScheduler,
  kSetTargetComputer,
  kEnumWorkItems,
  kActivateWorkItem,
  kReleaseTaskScheduler,
  kCreateTaskService,
  kTaskServiceConnect,
  kGetTaskFolder,
  kGetTaskFolders,
  kGetTasks,
  kReleaseTaskService,
  // Dial-in permissions of accounts.
  kMprAdminUserGetInfo,
  kRasAdminUserGetInfo,
  // Directory searches over LDAP: opening (connect and bind) and searching.
  kLdapBind,
  kLdapSearch,
  // WMI: the locator, a namespace connection and its proxy blanket, a
  // query and its enumerator, and releasing any of them.
  kCreateWbemLocator,
  kConnectServer,
  kCoSetProxyBlanket,
  kExecQuery,
  kWbemNext,
  kReleaseWbemObject,
  // Security descriptors of named objects.
  kGetNamedSecurityInfo,
};
inline constexpr Operation kLastOperation = Operation::kGetNamedSecurityInfo;

std::string_view OperationName(Operation op);
// Case-insensitive; nothing for a name that is not an operation.
std::optional<Operation> OperationFromName(std::string_view name);
// Closing a handle always works, so it cannot be made to fail.
bool CanInjectFailure(Operation op);

}  // namespace tabulon::estate
