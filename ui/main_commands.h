#pragma once
// The main window's commands: one row each, in menu order. The window
// builds its menus, tool bar and enabled states from this table alone.
#include <array>
#include <cstdint>
#include <string_view>

namespace tabulon::ui {

enum class Menu : std::uint8_t { kConfiguration, kEdit, kView, kExport, kHelp };

enum class Command : std::uint8_t {
  kNewConfiguration,
  kOpenConfiguration,
  kConfigurationProperties,
  kAssignObjectFile,
  kManageConfigurations,
  kImportQuollObjectFile,
  kImportObjectFile,
  kExit,
  kObjectProperties,
  kNewObject,
  kMoveDown,
  kMoveUp,
  kEnableAll,
  kDisableAll,
  kDeleteObject,
  kGlobalSettings,
  kToggleToolbar,
  kToggleStatusBar,
  kClearMessages,
  kCopyMessages,
  kStartExport,
  kStopExport,
  kViewExportedFiles,
  kHelpContents,
  kAbout,
};

// When a command can be chosen.
enum class EnabledRule : std::uint8_t {
  kAlways,
  kIdle,          // no run goes
  kRunning,       // a run goes
  kObjectChosen,  // no run goes and an object is selected
  kCanMoveUp,     // no run goes and the selected object has a previous sibling
  kCanMoveDown,   // no run goes and the selected object has a next sibling
};

struct CommandRow {
  Command command;
  Menu menu;
  std::string_view text;         // with its & mnemonic
  std::string_view shortcut;     // QKeySequence text; empty for none
  std::string_view object_name;  // of the action, for tests and screen readers
  EnabledRule rule;
  bool checkable;  // the View menu's bar toggles
  bool on_tool_bar;
  bool separator_before;  // a menu separator before the command
};

inline constexpr std::array<CommandRow, 25> kCommands{{
    {Command::kNewConfiguration, Menu::kConfiguration, "&New Export Configuration...", "Ctrl+N",
     "newConfigurationAction", EnabledRule::kIdle, false, true, false},
    {Command::kOpenConfiguration, Menu::kConfiguration, "&Open Export Configuration...", "Ctrl+O",
     "openConfigurationAction", EnabledRule::kIdle, false, true, false},
    {Command::kConfigurationProperties, Menu::kConfiguration, "&Export Configuration Properties...",
     "Ctrl+P", "configurationPropertiesAction", EnabledRule::kIdle, false, true, false},
    {Command::kAssignObjectFile, Menu::kConfiguration, "&Assign Object File...", "Ctrl+A",
     "assignObjectFileAction", EnabledRule::kIdle, false, false, false},
    {Command::kManageConfigurations, Menu::kConfiguration, "&Manage Export Configurations...",
     "Ctrl+M", "manageConfigurationsAction", EnabledRule::kIdle, false, false, false},
    {Command::kImportQuollObjectFile, Menu::kConfiguration, "Import &Quoll Object File...", "",
     "importQuollObjectFileAction", EnabledRule::kIdle, false, false, true},
    {Command::kImportObjectFile, Menu::kConfiguration, "&Import Object File...", "",
     "importObjectFileAction", EnabledRule::kIdle, false, false, false},
    // The recent files come between the imports and Exit.
    {Command::kExit, Menu::kConfiguration, "E&xit", "", "exitAction", EnabledRule::kAlways, false,
     false, true},
    {Command::kObjectProperties, Menu::kEdit, "&Properties...", "", "objectPropertiesAction",
     EnabledRule::kObjectChosen, false, false, false},
    {Command::kNewObject, Menu::kEdit, "&New Object...", "", "newObjectAction", EnabledRule::kIdle,
     false, false, false},
    {Command::kMoveDown, Menu::kEdit, "Move &Down", "", "moveDownAction", EnabledRule::kCanMoveDown,
     false, false, true},
    {Command::kMoveUp, Menu::kEdit, "Move &Up", "", "moveUpAction", EnabledRule::kCanMoveUp, false,
     false, false},
    {Command::kEnableAll, Menu::kEdit, "&Enable All", "", "enableAllAction", EnabledRule::kIdle,
     false, false, true},
    {Command::kDisableAll, Menu::kEdit, "Di&sable All", "", "disableAllAction", EnabledRule::kIdle,
     false, false, false},
    {Command::kDeleteObject, Menu::kEdit, "De&lete", "", "deleteObjectAction",
     EnabledRule::kObjectChosen, false, false, true},
    {Command::kGlobalSettings, Menu::kView, "Tabulon Settings...", "", "globalSettingsAction",
     EnabledRule::kIdle, false, false, false},
    {Command::kToggleToolbar, Menu::kView, "&Toolbar", "", "toolbarAction", EnabledRule::kAlways,
     true, false, true},
    {Command::kToggleStatusBar, Menu::kView, "&Status Bar", "", "statusBarAction",
     EnabledRule::kAlways, true, false, false},
    {Command::kClearMessages, Menu::kView, "&Clear Messages", "Ctrl+L", "clearMessagesAction",
     EnabledRule::kIdle, false, false, true},
    {Command::kCopyMessages, Menu::kView, "Co&py Messages...", "Ctrl+C", "copyMessagesAction",
     EnabledRule::kAlways, false, true, false},
    {Command::kStartExport, Menu::kExport, "&Start Export", "", "startExportAction",
     EnabledRule::kIdle, false, true, false},
    {Command::kStopExport, Menu::kExport, "S&top Export", "", "stopExportAction",
     EnabledRule::kRunning, false, true, false},
    {Command::kViewExportedFiles, Menu::kExport, "View Exported Files...", "",
     "viewExportedFilesAction", EnabledRule::kIdle, false, false, true},
    {Command::kHelpContents, Menu::kHelp, "&Help Contents", "", "helpContentsAction",
     EnabledRule::kAlways, false, true, false},
    {Command::kAbout, Menu::kHelp, "&About Wendrock Tabulon...", "", "aboutAction",
     EnabledRule::kAlways, false, false, false},
}};

inline constexpr std::array<std::string_view, 5> kMenuTitles{"&Configuration", "&Edit", "&View",
                                                             "E&xport", "&Help"};
inline constexpr std::array<std::string_view, 5> kMenuObjectNames{
    "configurationMenu", "editMenu", "viewMenu", "exportMenu", "helpMenu"};

// What the enabled rules look at.
struct CommandState {
  bool running = false;
  bool object_chosen = false;
  bool can_move_up = false;
  bool can_move_down = false;
};

bool CommandEnabled(EnabledRule rule, const CommandState& state);

}  // namespace tabulon::ui
