#include "ui/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include "engine/file_names.h"
#include "engine/messages.h"
#include "engine/startup.h"
#include "engine/template_kinds.h"
#include "platform/locale.h"
#include "platform/time.h"
#include "ui/about.h"
#include "ui/config_properties_dialog.h"
#include "ui/config_sheet.h"
#include "ui/configuration_commands.h"
#include "ui/configuration_files.h"
#include "ui/configuration_widgets.h"
#include "ui/copy_messages_dialog.h"
#include "ui/enabled_exports_view.h"
#include "ui/icons.h"
#include "ui/main_recent_files.h"
#include "ui/message_box.h"
#include "ui/object_view.h"
#include "ui/progress_columns.h"
#include "ui/progress_list.h"
#include "ui/qt_text.h"
#include "ui/run_worker.h"

namespace tabulon::ui {
namespace {

constexpr std::string_view kTitlePrefix = "Tabulon - ";
constexpr std::string_view kUnnamedConfiguration = "<unnamed configuration>";
// The panes' first sizes, in pixels.
constexpr int kObjectPaneWidth = 250;
constexpr int kEnabledExportsHeight = 150;
constexpr int kProgressHeight = 100;
constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 600;

// A pane with its title above it.
QWidget* Titled(QWidget* view, std::string_view title) {
  auto* pane = new QWidget;
  auto* layout = new QVBoxLayout(pane);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  auto* label = new QLabel(ToQString(title));
  label->setBuddy(view);
  layout->addWidget(label);
  layout->addWidget(view);
  return pane;
}

// The tool bar's pictures: the desktop style's own, so that they match
// the user's theme.
QStyle::StandardPixmap ToolBarPicture(Command command) {
  switch (command) {
    case Command::kNewConfiguration:
      return QStyle::SP_FileIcon;
    case Command::kOpenConfiguration:
      return QStyle::SP_DialogOpenButton;
    case Command::kConfigurationProperties:
      return QStyle::SP_FileDialogDetailedView;
    case Command::kStartExport:
      return QStyle::SP_MediaPlay;
    case Command::kStopExport:
      return QStyle::SP_MediaStop;
    case Command::kCopyMessages:
      return QStyle::SP_FileDialogContentsView;
    default:
      return QStyle::SP_DialogHelpButton;
  }
}

}  // namespace

std::string ResolveConfigurationName(const run::Locations& locations, const std::string& name) {
  if (name.empty()) return {};
  FileLocations files;
  files.app_data_directory = locations.data_directory;
  files.program_directory = locations.program_directory;
  platform::SystemClock clock;
  const std::unique_ptr<platform::Locale> locale = platform::MakeProcessLocale();
  return ResolveFileName(name, false, files, clock, *locale);
}

MainWindow::MainWindow(WindowContext& context, QWidget* parent)
    : QMainWindow(parent), context_(context) {
  setObjectName("mainWindow");
  setAccessibleName(tr("Tabulon"));
  setWindowIcon(ProgramIcon());
  resize(kWindowWidth, kWindowHeight);
  CreatePanes();
  CreateCommands();
  ConnectCommands();
  ConnectObjectCommands();
  ConnectConfigurationCommands();
  RebuildRecentFiles();
  statusBar()->setObjectName("statusBar");
  statusBar()->showMessage(tr("Ready"));
  NewEmptyConfiguration();
  UpdateCommands();
}

MainWindow::~MainWindow() = default;

void MainWindow::CreatePanes() {
  object_view_ = new ObjectView(context_);

  enabled_exports_ = new EnabledExportsView;
  progress_list_ = new ProgressList;
  worker_ = new RunWorker(progress_list_->model_rows(), this, this);
  connect(worker_, &RunWorker::statusChanged, this,
          [this](const QString& text) { statusBar()->showMessage(text); });
  connect(worker_, &RunWorker::finished, this, &MainWindow::OnRunFinished);
  // Under the progress list while a run exports several targets at once;
  // once shown it stays until the run ends, so the list does not jump.
  in_flight_ = Named(new QLabel, "targetsInFlight", tr("Targets Being Exported"));
  in_flight_->setTextFormat(Qt::PlainText);
  in_flight_->hide();
  connect(worker_, &RunWorker::targetsInFlightChanged, this, [this](const QString& text) {
    in_flight_->setText(text);
    if (!text.isEmpty()) in_flight_->show();
  });

  auto* right = new QSplitter(Qt::Vertical);
  right->setObjectName("rightSplitter");
  right->addWidget(Titled(enabled_exports_, MessageText(kMsgEnabledExports)));
  QWidget* progress_pane = Titled(progress_list_, kProgressListTitle);
  progress_pane->layout()->addWidget(in_flight_);
  right->addWidget(progress_pane);
  right->setStretchFactor(0, 0);
  right->setStretchFactor(1, 1);
  right->setSizes({kEnabledExportsHeight, kProgressHeight});

  auto* main = new QSplitter(Qt::Horizontal);
  main->setObjectName("mainSplitter");
  main->addWidget(object_view_);
  main->addWidget(right);
  main->setStretchFactor(0, 0);
  main->setStretchFactor(1, 1);
  main->setSizes({kObjectPaneWidth, kWindowWidth - kObjectPaneWidth});
  setCentralWidget(main);
}

void MainWindow::CreateCommands() {
  for (std::size_t i = 0; i < kMenuTitles.size(); ++i) {
    menus_[i] = menuBar()->addMenu(ToQString(kMenuTitles[i]));
    menus_[i]->setObjectName(ToQString(kMenuObjectNames[i]));
  }
  tool_bar_ = addToolBar(tr("Toolbar"));
  tool_bar_->setObjectName("toolBar");
  for (const CommandRow& row : kCommands) {
    QMenu* menu = menus_[static_cast<std::size_t>(row.menu)];
    if (row.separator_before) {
      QAction* separator = menu->addSeparator();
      if (row.command == Command::kExit) recent_end_ = separator;
    }
    QAction* action = menu->addAction(ToQString(row.text));
    action->setObjectName(ToQString(row.object_name));
    if (!row.shortcut.empty()) action->setShortcut(QKeySequence(ToQString(row.shortcut)));
    action->setCheckable(row.checkable);
    action->setChecked(row.checkable);  // the bars start shown
    if (row.on_tool_bar) {
      action->setIcon(style()->standardIcon(ToolBarPicture(row.command)));
      tool_bar_->addAction(action);
    }
    actions_[static_cast<std::size_t>(row.command)] = action;
  }
}

void MainWindow::ConnectCommands() {
  connect(action(Command::kExit), &QAction::triggered, this, &QWidget::close);
  connect(action(Command::kToggleToolbar), &QAction::toggled, tool_bar_, &QWidget::setVisible);
  connect(action(Command::kToggleStatusBar), &QAction::toggled, statusBar(), &QWidget::setVisible);
  connect(action(Command::kClearMessages), &QAction::triggered, this,
          [this] { progress_list_->model_rows().Clear(); });
  connect(action(Command::kCopyMessages), &QAction::triggered, this, &MainWindow::CopyMessages);
  connect(action(Command::kStartExport), &QAction::triggered, this, &MainWindow::StartExport);
  connect(action(Command::kStopExport), &QAction::triggered, this, &MainWindow::StopExport);
  connect(action(Command::kHelpContents), &QAction::triggered, this,
          [this] { OpenHelpContents(this, context_.locations.program_directory); });
  connect(action(Command::kAbout), &QAction::triggered, this, [this] { ShowAbout(this); });
  // The Configuration menu's dialogs, Tabulon Settings, View Exported Files
  // and the property sheet are connected where those dialogs are built in.
}

void MainWindow::ConnectObjectCommands() {
  const std::pair<Command, void (ObjectView::*)()> commands[] = {
      {Command::kObjectProperties, &ObjectView::EditProperties},
      {Command::kNewObject, &ObjectView::NewObject},
      {Command::kMoveDown, &ObjectView::MoveDown},
      {Command::kMoveUp, &ObjectView::MoveUp},
      {Command::kEnableAll, &ObjectView::EnableAll},
      {Command::kDisableAll, &ObjectView::DisableAll},
      {Command::kDeleteObject, &ObjectView::DeleteObject},
  };
  for (const auto& [command, slot] : commands) {
    connect(action(command), &QAction::triggered, object_view_, slot);
  }
  connect(object_view_, &ObjectView::commandStateChanged, this, &MainWindow::UpdateCommands);
}

void MainWindow::ConnectConfigurationCommands() {
  connect(action(Command::kConfigurationProperties), &QAction::triggered, this,
          &MainWindow::ShowConfigurationProperties);
  connect(enabled_exports_, &EnabledExportsView::exportTypeActivated, this,
          &MainWindow::ShowExportProperties);
  connect(action(Command::kNewConfiguration), &QAction::triggered, this,
          [this] { OpenChosen(NewConfiguration(this, context_)); });
  connect(action(Command::kOpenConfiguration), &QAction::triggered, this,
          [this] { OpenChosen(ChooseConfigurationToOpen(this, context_)); });
  connect(action(Command::kManageConfigurations), &QAction::triggered, this,
          [this] { Refresh(ManageConfigurations(this, context_)); });
  connect(action(Command::kAssignObjectFile), &QAction::triggered, this, [this] {
    if (context_.configuration.empty()) return;
    // The list is written first, so that the file it was read from keeps it.
    if (!SaveObjectList()) return;
    Refresh(AssignObjectFile(this, context_, context_.configuration));
  });
  connect(action(Command::kGlobalSettings), &QAction::triggered, this,
          [this] { GlobalSettings(this, context_); });
  connect(action(Command::kViewExportedFiles), &QAction::triggered, this,
          [this] { ViewExportedFiles(this, context_, last_output_files_); });
  connect(action(Command::kImportObjectFile), &QAction::triggered, this, [this] {
    if (const auto objects = ImportObjectFile(this, context_))
      object_view_->AppendImported(*objects);
  });
  connect(action(Command::kImportQuollObjectFile), &QAction::triggered, this, [this] {
    if (const auto objects = ImportQuollObjectFile(this, context_)) {
      object_view_->AppendImported(*objects);
    }
  });
}

void MainWindow::OpenChosen(const std::string& path) {
  if (!path.empty()) OpenConfiguration(path);
}

void MainWindow::Refresh(bool changed) {
  if (changed && !context_.configuration.empty()) OpenConfiguration(context_.configuration);
}

bool MainWindow::HaveConfigurationFile() {
  if (!context_.configuration.empty()) return true;
  // A new configuration has no file to edit yet: it gets one as New makes it.
  const std::string path = NewConfiguration(this, context_);
  return !path.empty() && OpenConfiguration(path);
}

void MainWindow::ShowConfigurationProperties() {
  if (running() || !HaveConfigurationFile()) return;
  // The object file may be another one afterwards: the list is kept first.
  if (!SaveObjectList()) return;
  EditConfigurationProperties(this, SheetFor(context_, context_.configuration));
  // Reopened, so that the title, the panes and the object list show it.
  OpenConfiguration(context_.configuration);
}

void MainWindow::ShowExportProperties(std::uint32_t export_type) {
  if (running() || context_.configuration.empty() || !SaveObjectList()) return;
  Refresh(EditConfiguration(this, SheetFor(context_, context_.configuration), export_type));
}

CommandState MainWindow::ObjectCommandState() const {
  CommandState state;
  state.object_chosen = object_view_->HasSelection();
  state.can_move_up = object_view_->CanMoveUp();
  state.can_move_down = object_view_->CanMoveDown();
  return state;
}

bool MainWindow::SaveObjectList() {
  return object_view_->SaveIfModified();
}

void MainWindow::LoadObjectList(const std::string& object_file) {
  // A missing object file is an empty list; the first save creates it.
  object_view_->Load(object_file);
}

void MainWindow::UpdateCommands() {
  CommandState state = ObjectCommandState();
  state.running = running();
  for (const CommandRow& row : kCommands) {
    action(row.command)->setEnabled(CommandEnabled(row.rule, state));
  }
}

void MainWindow::RebuildRecentFiles() {
  QMenu* menu = menus_[static_cast<std::size_t>(Menu::kConfiguration)];
  for (QAction* old : recent_actions_) {
    menu->removeAction(old);
    old->deleteLater();
  }
  recent_actions_.clear();
  const std::vector<std::string> files = ReadRecentFiles(context_.settings);
  if (files.empty()) return;
  recent_actions_.push_back(menu->insertSeparator(recent_end_));
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::string& path = files[i];
    auto* entry = new QAction(
        QString("&%1 %2").arg(i + 1 == kRecentFileCount ? 0 : i + 1).arg(ToQString(path)), menu);
    entry->setObjectName(QString("recentFileAction%1").arg(i + 1));
    menu->insertAction(recent_end_, entry);
    connect(entry, &QAction::triggered, this, [this, path] {
      if (!running()) OpenConfiguration(path);
    });
    recent_actions_.push_back(entry);
  }
}

bool MainWindow::OpenConfiguration(const std::string& path) {
  if (!SaveObjectList()) return false;
  const QFileInfo file(ToQString(path));
  if (!file.isFile() || !file.isReadable()) {
    ShowOpenFailure(this, kConfigurationFileTitle, path,
                    file.exists() ? win::ERROR_ACCESS_DENIED : win::ERROR_FILE_NOT_FOUND);
    return false;
  }
  context_.configuration = path;
  const Configuration configuration(context_.profile, path);
  for (const TemplateKindRow& kind : kTemplateKinds) {
    if (configuration.ReadText("General", kind.general_key, "").empty()) {
      configuration.WriteText("General", kind.general_key, kind.default_file);
    }
  }
  const std::string name =
      configuration.ReadText("General", "ConfigurationName", kUnnamedConfiguration);
  setWindowTitle(ToQString(kTitlePrefix) + ToQString(name));
  context_.settings.Set("LastConfiguration", path);
  AddRecentFile(context_.settings, path);
  RebuildRecentFiles();
  enabled_exports_->Show(configuration);
  LoadObjectList(context_.handover ? HandoverObjectFile(context_.locations.data_directory)
                                   : ResolveConfigurationName(
                                         context_.locations,
                                         configuration.ReadText("General", "ObjectFile", "")));
  return true;
}

void MainWindow::NewEmptyConfiguration() {
  context_.configuration.clear();
  setWindowTitle(ToQString(kTitlePrefix) + ToQString(kUnnamedConfiguration));
  enabled_exports_->Show(Configuration(context_.profile, ""));
  LoadObjectList({});
}

bool MainWindow::running() const {
  return worker_->running();
}

void MainWindow::StartExport() {
  if (running() || !SaveObjectList()) return;
  run::Request request;
  request.configuration = context_.configuration;
  request.handover_object_file = context_.handover;
  request.suppress_messages = suppress_messages_;
  worker_->Start(context_.locations, request);
  UpdateCommands();
}

void MainWindow::StopExport() {
  worker_->Stop();
}

void MainWindow::OnRunFinished() {
  if (worker_->last_result()) last_output_files_ = worker_->last_result()->output_files;
  in_flight_->hide();
  statusBar()->showMessage(tr("Ready"));
  UpdateCommands();
  emit runFinished();
  // The configuration asks to see the produced files when the run ends.
  if (worker_->last_result() && worker_->last_result()->open_output_window) {
    ViewExportedFiles(this, context_, last_output_files_);
  }
}

void MainWindow::CopyMessages() {
  auto* dialog = new CopyMessagesDialog(progress_list_->SelectedRows(), this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->open();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Closing during a run cancels it; the window waits for its end.
  worker_->CancelAndWait();
  SaveObjectList();
  event->accept();
}

}  // namespace tabulon::ui
