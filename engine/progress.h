#pragma once
// Progress rows of a run: what a progress list shows target by target.
#include <cstdint>
#include <string>

namespace tabulon {

// What a progress row is about; it selects the row's image. The kinds are
// the object type codes of the object file (a row about a target has the
// target's type, see ProgressKindOfObject) plus the kinds of the exporters'
// own rows and of the rows that close a target or the run.
enum class ProgressKind : std::uint32_t {
  kNone = 0,
  kEndReport = 1,  // the run's last row, a skipped target
  kFailure = 2,    // a failure: the row an unattended run prints
  kDrives = 4,
  kPrinter = 9,
  kFolder = 15,
  kFile = 16,
  kWorkstation = 24,
  kServices = 26,
  kDomainController = 31,
  kBackupController = 32,
  kServer = 33,
  kNetwork = 40,  // the network and protocol exports
  kPolicies = 61,
  kShares = 65,
  kUsers = 68,
  kOpenFiles = 69,
  kSessions = 71,
  kGroups = 75,
  kTasks = 79,
  kDirectoryShares = 85,
  kRights = 94,
  kNtDomain = 99,
  kDirectoryUsers = 100,
  kDirectoryDomain = 101,  // also every directory object of a query
  kDirectoryGroups = 106,
  kDirectoryGlobalGroups = 107,
  kDirectoryLocalGroups = 108,
  kDirectoryUniversalGroups = 109,
  kDirectoryComputers = 111,
  kLogonCollection = 113,  // the last-logon values of a domain controller
  kDirectoryContainers = 115,
  kDirectoryContacts = 123,
  kWmi = 132,
  kRegistry = 133,  // the registry templates and the logged-on users
  kTerminalSessions = 134,
  kTerminalProcesses = 135,
};

// The kind of a row about an object of the object file: its type code.
constexpr ProgressKind ProgressKindOfObject(std::uint32_t object_type) {
  return static_cast<ProgressKind>(object_type);
}

// The image a row of `kind` shows; kinds without one give 0.
std::uint32_t ImageForProgressKind(ProgressKind kind);

// The image of a row whose announced work failed.
inline constexpr std::uint32_t kFailureImage = 88;

struct ProgressRow {
  ProgressKind kind = ProgressKind::kNone;
  std::uint32_t image = 0;
  std::uint32_t indent = 0;
  std::string name;    // leading backslashes removed
  std::string status;  // trailing white space removed
};

}  // namespace tabulon
