#include "estate/synthetic_services.h"

#include <array>

namespace tabulon::estate {
namespace {

constexpr std::uint32_t kKernel = 0x1;
constexpr std::uint32_t kFileSystem = 0x2;
constexpr std::uint32_t kOwn = 0x10;
constexpr std::uint32_t kShared = 0x20;
constexpr std::uint32_t kBoot = 0;
constexpr std::uint32_t kSystem = 1;
constexpr std::uint32_t kAuto = 2;
constexpr std::uint32_t kDemand = 3;
constexpr std::uint32_t kDisabled = 4;

constexpr std::string_view kSvcHost = "C:\\Windows\\system32\\svchost.exe -k netsvcs";
constexpr std::string_view kLocalService = "NT AUTHORITY\\LocalService";
constexpr std::string_view kNetworkService = "NT AUTHORITY\\NetworkService";

constexpr std::array kTemplates{
    ServiceTemplate{"ACPI", "Microsoft ACPI Driver", kKernel, kBoot, "",
                    "System32\\drivers\\ACPI.sys", ""},
    ServiceTemplate{"AFD", "Ancillary Function Driver for Winsock", kKernel, kSystem, "",
                    "\\SystemRoot\\system32\\drivers\\afd.sys", ""},
    ServiceTemplate{"atapi", "IDE Channel", kKernel, kBoot, "", "System32\\drivers\\atapi.sys", ""},
    ServiceTemplate{"Beep", "Beep", kKernel, kSystem, "", "", ""},
    ServiceTemplate{"Disk", "Disk Driver", kKernel, kBoot, "", "System32\\drivers\\disk.sys", ""},
    ServiceTemplate{"mup", "Mup", kFileSystem, kBoot, "", "System32\\Drivers\\mup.sys", ""},
    ServiceTemplate{"Ntfs", "Ntfs", kFileSystem, kDemand, "", "", ""},
    ServiceTemplate{"Null", "Null", kKernel, kSystem, "", "", ""},
    ServiceTemplate{"Tcpip", "TCP/IP Protocol Driver", kKernel, kBoot, "",
                    "System32\\drivers\\tcpip.sys", ""},
    ServiceTemplate{"NetBT", "NetBT", kKernel, kSystem, "", "System32\\DRIVERS\\netbt.sys",
                    "Tcpip"},
    ServiceTemplate{"volmgr", "Volume Manager Driver", kKernel, kBoot, "",
                    "System32\\drivers\\volmgr.sys", ""},
    ServiceTemplate{"BITS", "Background Intelligent Transfer Service", kShared, kDemand,
                    "LocalSystem", kSvcHost, "RpcSs"},
    ServiceTemplate{"Browser", "Computer Browser", kShared, kDisabled, "LocalSystem", kSvcHost,
                    "LanmanWorkstation"},
    ServiceTemplate{"CryptSvc", "Cryptographic Services", kShared, kAuto, kNetworkService,
                    "C:\\Windows\\system32\\svchost.exe -k NetworkService", "RpcSs"},
    ServiceTemplate{"Dhcp", "DHCP Client", kShared, kAuto, kLocalService,
                    "C:\\Windows\\system32\\svchost.exe -k LocalServiceNetworkRestricted", "Tcpip"},
    ServiceTemplate{"Dnscache", "DNS Client", kShared, kAuto, kNetworkService,
                    "C:\\Windows\\system32\\svchost.exe -k NetworkService", "Tcpip"},
    ServiceTemplate{"EventLog", "Windows Event Log", kShared, kAuto, kLocalService,
                    "C:\\Windows\\System32\\svchost.exe -k LocalServiceNetworkRestricted", ""},
    ServiceTemplate{"LanmanServer", "Server", kShared, kAuto, "LocalSystem", kSvcHost, "SamSS"},
    ServiceTemplate{"LanmanWorkstation", "Workstation", kShared, kAuto, kNetworkService,
                    "C:\\Windows\\System32\\svchost.exe -k NetworkService", "NSI"},
    ServiceTemplate{"MSiSCSI", "iSCSI Initiator Service", kShared, kDemand, "LocalSystem", kSvcHost,
                    ""},
    ServiceTemplate{"Netlogon", "Netlogon", kShared, kDemand, "LocalSystem",
                    "C:\\Windows\\system32\\lsass.exe", "LanmanWorkstation"},
    ServiceTemplate{"NSI", "Network Store Interface Service", kShared, kAuto, kLocalService,
                    "C:\\Windows\\system32\\svchost.exe -k LocalService", "RpcSs"},
    ServiceTemplate{"PlugPlay", "Plug and Play", kShared, kDemand, "LocalSystem",
                    "C:\\Windows\\system32\\svchost.exe -k DcomLaunch", ""},
    ServiceTemplate{"RemoteRegistry", "Remote Registry", kShared, kAuto, kLocalService,
                    "C:\\Windows\\system32\\svchost.exe -k localService", "RpcSs"},
    ServiceTemplate{"RpcSs", "Remote Procedure Call (RPC)", kShared, kAuto, kNetworkService,
                    "C:\\Windows\\system32\\svchost.exe -k rpcss", ""},
    ServiceTemplate{"SamSs", "Security Accounts Manager", kShared, kAuto, "LocalSystem",
                    "C:\\Windows\\system32\\lsass.exe", "RpcSs"},
    ServiceTemplate{"Schedule", "Task Scheduler", kShared, kAuto, "LocalSystem", kSvcHost, "RpcSs"},
    ServiceTemplate{"SNMP", "SNMP Service", kOwn, kAuto, "LocalSystem",
                    "C:\\Windows\\System32\\snmp.exe", "EventLog"},
    ServiceTemplate{"Spooler", "Print Spooler", kOwn, kAuto, "LocalSystem",
                    "C:\\Windows\\System32\\spoolsv.exe", "RPCSS"},
    ServiceTemplate{"TermService", "Remote Desktop Services", kShared, kDemand, kNetworkService,
                    "C:\\Windows\\System32\\svchost.exe -k NetworkService", "RPCSS"},
    ServiceTemplate{"W32Time", "Windows Time", kShared, kDemand, kLocalService,
                    "C:\\Windows\\system32\\svchost.exe -k LocalService", ""},
    ServiceTemplate{"WinRM", "Windows Remote Management (WS-Management)", kShared, kAuto,
                    kNetworkService, "C:\\Windows\\System32\\svchost.exe -k NetworkService",
                    "RPCSS"},
    ServiceTemplate{"Winmgmt", "Windows Management Instrumentation", kShared, kAuto, "LocalSystem",
                    kSvcHost, "RPCSS"},
    ServiceTemplate{"wuauserv", "Windows Update", kShared, kDemand, "LocalSystem", kSvcHost,
                    "rpcss"},
    ServiceTemplate{"MSSQLSERVER", "SQL Server (MSSQLSERVER)", kOwn, kAuto,
                    "NT Service\\MSSQLSERVER",
                    "\"C:\\Program Files\\SQL\\Binn\\sqlservr.exe\" -sMSSQLSERVER", ""},
    ServiceTemplate{"BackupAgent", "Backup Agent", kOwn, kAuto, ".\\svc_backup",
                    "\"C:\\Program Files\\Backup Agent\\agent.exe\"", "Tcpip"},
};

}  // namespace

std::span<const ServiceTemplate> ServiceTemplates() {
  return kTemplates;
}

}  // namespace tabulon::estate
