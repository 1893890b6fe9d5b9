#pragma once
// The small option dialogs the configuration pages and the directory query
// editor open. Each edits values the caller reads from and writes to its
// own keys (a configuration section or a template's section), so the same
// dialog serves both; true when closed with OK.
#include <cstdint>
#include <string>

class QWidget;

namespace tabulon::ui {

// "Set Group Export Options".
struct GroupOptions {
  std::int32_t members = 0;           // "Export Group Members"
  std::int32_t indirect_members = 0;  // "Include Indirect (nested) Group Members"
};
bool EditGroupOptions(QWidget* parent, GroupOptions& options);

// "Set User Export Options" and "Set Computer Export Options".
struct ControllerOptions {
  std::int32_t all_controllers = 0;    // GetLogonInformation
  std::int32_t last_logon_type = 0;    // LastLogonType: 0 combined, else each controller
  std::int32_t skip_listed = 0;        // SkipSpecifiedDomainControllers
  std::int32_t group_assignments = 0;  // ExportUsersGroups / GetUserGroups
};
enum class AccountKind { kUser, kComputer };
bool EditControllerOptions(QWidget* parent, AccountKind kind, ControllerOptions& options);

// "Configure Computer Filter": FilteringType's bits.
bool EditComputerFilter(QWidget* parent, std::int32_t& filtering_type);

// "Active Directory Photo Export Options".
struct PhotoOptions {
  std::string output_path;  // PhotoFileOutputPath
  std::string extension;    // PhotoFileExtension
};
bool EditPhotoOptions(QWidget* parent, PhotoOptions& options);

}  // namespace tabulon::ui
