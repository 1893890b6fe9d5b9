#pragma once
// An estate: the Windows network that the estate backend simulates, loaded
// from an estate file or generated. Backends only read it.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "estate/directory_tree.h"
#include "estate/file_tree.h"
#include "estate/operations.h"
#include "estate/policy_data.h"
#include "estate/resources.h"
#include "estate/scheduled_work.h"
#include "estate/stated_security.h"
#include "estate/wmi_classes.h"
#include "platform/netapi.h"
#include "platform/printing.h"
#include "platform/remote_access.h"
#include "platform/security.h"
#include "platform/status.h"
#include "platform/terminal_services.h"
#include "platform/user_accounts.h"

namespace tabulon::estate {

inline constexpr std::uint32_t kNoIndex = 0xFFFFFFFF;

inline constexpr std::uint32_t kServiceStopped = 1;
inline constexpr std::uint32_t kServiceRunning = 4;
inline constexpr std::uint32_t kServiceAutoStart = 2;
inline constexpr std::uint32_t kServiceDemandStart = 3;
inline constexpr std::uint32_t kServiceDisabled = 4;
inline constexpr std::uint32_t kServiceAcceptStop = 1;

// Type bits a computer reports when its estate entry gives none:
// workstation, server, NT.
inline constexpr std::uint32_t kDefaultServerType = 0x1003;

// What a computer reports when its estate entry says nothing: Windows 10.0,
// workstation, server, NT.
inline platform::ServerInfo101 DefaultServerInfo() {
  platform::ServerInfo101 info;
  info.platform_id = 500;
  info.version_major = 10;
  info.version_minor = 0;
  info.type = kDefaultServerType;
  return info;
}

struct InjectedFailure {
  Operation operation = Operation::kNetServerGetInfo;
  win::Status status = win::ERROR_SUCCESS;
  std::uint32_t after_calls = 0;  // calls that still succeed before the failures start
};
using FailureList = std::vector<InjectedFailure>;

const InjectedFailure* FindFailure(const FailureList& failures, Operation op);

class RegistryTree;

// A local or global group of an account database. Members are SID strings
// ("S-1-5-21-...") or account names ("DOMAIN\\name", "name"); a local
// group lists them by SID, resolved when the members are asked for, a
// global group by their bare names.
struct Group {
  std::string name;
  std::string comment;
  std::vector<std::string> members;
  FailureList failures;  // the member and information calls of this group
};
using GroupList = std::vector<Group>;

struct Account {
  std::string name;
  platform::Sid sid;
  platform::SidNameUse use = platform::SidNameUse::kUser;
};

struct Service {
  std::string name;
  std::string display_name;
  std::uint32_t type = 0x10;  // own process
  std::uint32_t state = kServiceRunning;
  std::uint32_t start_type = kServiceDemandStart;
  std::uint32_t error_control = 1;  // normal
  std::uint32_t controls_accepted = kServiceAcceptStop;
  std::uint32_t win32_exit_code = 0;
  std::uint32_t tag_id = 0;
  std::string account = "LocalSystem";
  std::string binary_path;
  std::string load_order_group;
  std::vector<std::string> dependencies;
  std::optional<StatedSecurity> security;  // nothing: the default
  // OpenService, QueryServiceConfig and GetNamedSecurityInfo only
  FailureList failures;
};

// Many computers share one list, so a large estate holds each distinct
// service set once.
using ServiceList = std::vector<Service>;

// A session of a terminal server and what its information queries answer.
struct TerminalSession {
  std::uint32_t id = 0;
  std::string station;  // the window station name
  std::uint32_t state = platform::kWtsActive;
  std::string initial_program;
  std::string application_name;
  std::string working_directory;
  std::string oem_id;
  std::string user_name;
  std::string domain_name;
  std::string client_name;
  std::string client_directory;
  std::uint32_t client_build = 0;
  std::uint32_t client_hardware_id = 0;
  std::uint16_t client_product_id = 0;
  std::uint16_t protocol_type = 0;
  platform::WtsClientDisplay display;
  platform::WtsClientAddress address;
  platform::WinStationTimes times;  // current_time is the server's, not the session's
  // Bit n set: information class n answers success with no bytes.
  std::uint32_t empty_classes = 0;
  FailureList failures;  // WTSQuerySessionInformation and WinStationQueryInformation only
};

// WTSQueryUserConfig answers for one account, by WTS_CONFIG_CLASS.
struct TerminalUserConfig {
  std::string user;
  std::array<std::string, platform::kWtsUserConfigClassCount> texts;
  std::array<std::uint32_t, platform::kWtsUserConfigClassCount> numbers{};
};

struct TerminalServer {
  std::vector<TerminalSession> sessions;
  std::vector<platform::WtsProcessInfo> processes;
  std::vector<TerminalUserConfig> user_configs;
  // The server's clock for the session times; nothing: the real clock.
  std::optional<platform::FileTime> current_time;
};

struct Printer {
  // Server and printer names are filled in by the spooler from the name a
  // call reached it by.
  platform::PrinterInfo2 info;
  std::optional<StatedSecurity> security;  // nothing: the default
  FailureList failures;                    // OpenPrinter, GetPrinter and GetNamedSecurityInfo only
};

struct Ping {
  bool answers = true;
  std::uint32_t delay_ms = 0;  // a delay above the caller's timeout is no answer
  std::uint32_t hops = 1;      // a time-to-live below this never arrives
};

// Users export: an account of an account database with the groups
// NetUserGetLocalGroups and NetUserGetGroups answer for it.
struct User {
  platform::UserInfo info;
  std::vector<std::string> local_groups;
  std::vector<std::string> global_groups;
  // What the remote-access administration functions answer for the
  // account; Windows gives an account nobody set up no callback and no
  // dial-in permission.
  platform::RasUser0 dial_in{platform::kRasPrivNoCallback, {}};
  // NetUserGetInfo, NetUserGetLocalGroups, NetUserGetGroups and the dial-in
  // lookups only.
  FailureList failures;
};
// Sorted by name without regard to case, as the account database lists them.
using UserList = std::vector<User>;

// Users export: what one domain controller counts for a domain account on
// its own; each controller keeps its own.
struct LogonCounters {
  std::string user;
  std::uint32_t last_logon = 0;  // seconds since 1970, UTC
  std::uint32_t last_logoff = 0;
  std::uint32_t bad_pw_count = 0;
  std::uint32_t num_logons = 0;
};

struct Computer {
  std::string name;      // NetBIOS name without leading backslashes
  std::string dns_name;  // may be empty
  std::string address;   // dotted IPv4, may be empty
  std::string domain;    // flat or DNS name of its domain; empty for a workgroup
  // An offline computer answers neither pings nor remote calls.
  bool offline = false;
  Ping ping;
  std::optional<std::uint32_t> latency_ms;               // nothing: the estate's default
  platform::ServerInfo101 server = DefaultServerInfo();  // name is set to `name`
  std::shared_ptr<const ServiceList> services;
  std::optional<platform::Sid> sid;  // the machine SID of its local accounts
  std::vector<Account> accounts;
  FailureList failures;
  TerminalServer terminal;  // empty: no sessions, no processes
  // Shares, sessions, open files, disks and transports; many computers of a
  // generated estate share one. None: nothing of the kind.
  std::shared_ptr<const ServerResources> resources;
  // Nothing given: every hive is there and empty. Computers given the same
  // single .reg file share one tree.
  std::shared_ptr<const RegistryTree> registry;
  std::vector<Printer> printers;
  // Groups and group members exports: the local groups of its own account
  // database; many computers of a generated estate share one list.
  std::shared_ptr<const GroupList> local_groups;
  // Users export: the local account database (a controller answers from its
  // domain's instead), and a controller's own counters of the domain's
  // accounts, sorted by user name without regard to case; an account
  // missing here has all counters 0 at this controller.
  std::shared_ptr<const UserList> users;
  std::vector<LogonCounters> logon_counters;
  // Rights and policies exports: rights held by SIDs, the account and audit
  // policy.
  LocalPolicy policy;

  std::uint32_t domain_index = kNoIndex;  // set by Finalize

  // Registry keys and files or directories with descriptors of their own.
  std::vector<SecuredPath> secured_paths;

  // Scheduled tasks exports: AT jobs, Task Scheduler 1.0 work items and the
  // Task Scheduler 2.0 folder tree.
  ScheduledWork scheduled;

  // File templates: the files of its drives; none given, every directory
  // is missing.
  std::shared_ptr<const FileNode> files;

  // WMI templates: the classes of root\CIMV2; none given, no class.
  std::shared_ptr<const WmiNamespace> wmi;
};

struct BrowseEntry {
  std::string name;
  // Given in the file for a listed computer that the estate does not hold;
  // otherwise the computer's own server information is shown.
  std::optional<platform::ServerInfo101> info;
  std::uint32_t computer = kNoIndex;  // set by Finalize
};

struct ComputerAccount {
  std::string name;  // ends with "$"
  std::string comment;
  std::uint32_t flags = platform::kUfWorkstationTrustAccount;
  std::uint32_t rid = 0;
};

struct Domain {
  std::string name;        // flat (NetBIOS) name
  std::string dns_name;    // empty for an NT domain without a directory
  std::string forest;      // empty: the DNS name
  std::string controller;  // computer name; empty: no controller can be found
  // Nothing: the domain's computers in estate order.
  std::optional<std::vector<BrowseEntry>> browse_list;
  // Nothing: one account per computer of the domain. Sorted by name after
  // Finalize, as the account database returns them.
  std::optional<std::vector<ComputerAccount>> computer_accounts;
  std::optional<platform::Sid> sid;
  std::vector<Account> accounts;
  FailureList failures;
  // Groups and group members exports: the global groups and the domain
  // local groups, answered by the domain's controller.
  GroupList groups;
  GroupList local_groups;
  // Users export: the domain's account database, which every controller
  // answers from.
  std::shared_ptr<const UserList> users;
  // Directory searches: the domain's directory, read from LDIF files; none
  // for a domain without one.
  std::shared_ptr<const DirectoryTree> directory;

  std::uint32_t controller_index = kNoIndex;  // set by Finalize
  bool derived_browse_list = false;           // filled by Finalize, redone by the next
  bool derived_computer_accounts = false;
};

// "\\NAME" and "\NAME" become "NAME".
std::string_view StripBackslashes(std::string_view name);
bool IsDottedIpv4(std::string_view text);

class Estate {
 public:
  std::vector<Domain> domains;
  std::vector<Computer> computers;
  std::string local_computer;    // the computer the program runs on; may be empty
  std::uint32_t latency_ms = 0;  // per remote call, unless a computer says otherwise
  bool ping_waits = false;       // pings really wait for their reply delay or timeout
  // What the computer the program runs on offers of the optional libraries.
  platform::TerminalServicesLibraries libraries{true, true};
  bool remote_access_library = true;  // rassapi with RasAdminUserGetInfo

  // Checks names and references, fills the derived browse lists and account
  // lists, and builds the name indexes. Call after every change; lookups
  // are only valid after a successful call.
  bool Finalize(std::string& error);

  // By "\\NAME", NAME, DNS name or IPv4 address, without regard to case.
  const Computer* FindComputer(std::string_view name) const;
  // The computer a call on `server` reaches: an empty name is the local
  // computer.
  const Computer* FindServer(std::string_view server) const {
    return StripBackslashes(server).empty() ? LocalComputer() : FindComputer(server);
  }
  // By flat or DNS name.
  const Domain* FindDomain(std::string_view name) const;
  const Computer* LocalComputer() const;
  const Domain* DomainOf(const Computer& computer) const;
  const Computer* ControllerOf(const Domain& domain) const;
  std::uint32_t IndexOf(const Computer& computer) const {
    return static_cast<std::uint32_t>(&computer - computers.data());
  }

 private:
  bool IndexDomains(std::string& error);
  bool IndexComputers(std::string& error);
  bool ResolveDomainLists(std::string& error);

  std::unordered_map<std::string, std::uint32_t> computer_keys_;
  std::unordered_map<std::string, std::uint32_t> domain_keys_;
  std::uint32_t local_index_ = kNoIndex;
};

}  // namespace tabulon::estate
