#pragma once
// The main window: the object list on the left, "Enabled Exports" over
// "Export Progress Messages" on the right (with the targets under way when
// a run exports several at once), the menus and tool bar of the command
// table, and the status bar. Runs go to a worker thread.
#include <QMainWindow>
#include <array>
#include <string>
#include <vector>

#include "engine/file_record.h"
#include "ui/main_commands.h"
#include "ui/window_context.h"

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace tabulon::ui {

class EnabledExportsView;
class ObjectView;
class ProgressList;
class RunWorker;

// `name` resolved as the program resolves configuration names: a name
// without a directory is in the data directory, date tokens replaced; an
// empty name stays empty.
std::string ResolveConfigurationName(const run::Locations& locations, const std::string& name);

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(WindowContext& context, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Saves the object list when modified, makes `path` the active
  // configuration, names its template files when it does not, shows its
  // name in the title, remembers it (LastConfiguration, recent files) and
  // fills the panes. False, after saying why, when it cannot be opened.
  bool OpenConfiguration(const std::string& path);
  // No configuration: the title says "<unnamed configuration>".
  void NewEmptyConfiguration();

  void StartExport();
  // The first Stop lets no new target start, the second cancels the
  // targets under way.
  void StopExport();
  bool running() const;
  // The files of the last run, for View Exported Files.
  std::vector<tagCOutputfile> last_output_files() const { return last_output_files_; }
  void SetSuppressMessages(bool suppress) { suppress_messages_ = suppress; }

  QAction* action(Command command) const { return actions_[static_cast<std::size_t>(command)]; }
  ProgressList& progress_list() { return *progress_list_; }
  EnabledExportsView& enabled_exports() { return *enabled_exports_; }
  ObjectView& object_view() { return *object_view_; }

 signals:
  void runFinished();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreatePanes();
  void CreateCommands();
  void ConnectCommands();
  // The object view's Edit commands and its state; the object pane's
  // owner connects them here.
  void ConnectObjectCommands();
  CommandState ObjectCommandState() const;
  // Saves the object list when modified; false when it could not be saved.
  bool SaveObjectList();
  void LoadObjectList(const std::string& object_file);
  void RebuildRecentFiles();
  void UpdateCommands();
  void OnRunFinished();
  void CopyMessages();
  // The Configuration menu's dialogs and the imports into the object list.
  void ConnectConfigurationCommands();
  // Opens `path` when a dialog named one; reopens the active configuration
  // when `changed` says a dialog changed it.
  void OpenChosen(const std::string& path);
  void Refresh(bool changed);
  // Ctrl+P: the overview of the active configuration, which a new one gets
  // a file for first; the window shows the configuration anew afterwards.
  void ShowConfigurationProperties();
  // The property sheet on the page of a row of the Enabled Exports pane.
  void ShowExportProperties(std::uint32_t export_type);
  // False when the configuration is new and the user made no file for it.
  bool HaveConfigurationFile();

  WindowContext& context_;
  ObjectView* object_view_ = nullptr;
  EnabledExportsView* enabled_exports_ = nullptr;
  ProgressList* progress_list_ = nullptr;
  RunWorker* worker_ = nullptr;
  QLabel* in_flight_ = nullptr;  // the targets a run works on at once
  std::array<QAction*, kCommands.size()> actions_{};
  std::array<QMenu*, kMenuTitles.size()> menus_{};
  QToolBar* tool_bar_ = nullptr;
  std::vector<QAction*> recent_actions_;
  QAction* recent_end_ = nullptr;  // the separator before Exit
  std::vector<tagCOutputfile> last_output_files_;
  bool suppress_messages_ = false;
};

}  // namespace tabulon::ui
