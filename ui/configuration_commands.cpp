#include "ui/configuration_commands.h"

#include <QDialog>

#include "engine/configuration.h"
#include "engine/messages.h"
#include "ui/assign_object_file_dialog.h"
#include "ui/configuration_list_dialog.h"
#include "ui/exported_files_dialog.h"
#include "ui/global_settings_dialog.h"
#include "ui/import_object_file_dialog.h"
#include "ui/message_box.h"
#include "ui/new_configuration_dialog.h"

namespace tabulon::ui {
namespace {

constexpr std::string_view kUnnamedConfiguration = "<unnamed configuration>";

// The list the sibling tool hands over is written by that tool again.
bool RefusedWhileHandedOver(QWidget* parent, const WindowContext& context) {
  if (!context.handover) return false;
  ShowMessage(parent, MessageText(kMsgQuollObjectFileReadOnly));
  return true;
}

// The file the user typed, with its date tokens replaced.
std::string TypedImportPath(const WindowContext& context, const std::string& typed) {
  const CommandPlacement placement(context);
  return ResolveTypedName(typed, {}, placement.get());
}

}  // namespace

CommandPlacement::CommandPlacement(const WindowContext& context)
    : locale_(platform::MakeProcessLocale()),
      placement_{ConfigurationFolder(context.settings, context.DataFolder()),
                 ObjectFileFolder(context.settings, context.DataFolder()), clock_, *locale_} {}

std::string NewConfiguration(QWidget* parent, WindowContext& context) {
  NewConfigurationDialog dialog(context, parent);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.created_path();
}

std::string ChooseConfigurationToOpen(QWidget* parent, WindowContext& context) {
  ConfigurationListDialog dialog(context, ConfigurationListMode::kOpen, parent);
  if (dialog.exec() == QDialog::Accepted) return dialog.Selected().path;
  // Nothing chosen, but the active configuration's properties were edited:
  // it is opened again, so that the window shows them.
  return dialog.active_configuration_changed() ? context.configuration : std::string();
}

SheetContext SheetFor(WindowContext& context, const std::string& configuration) {
  return SheetContext{context.profile, configuration, context.locations};
}

bool ManageConfigurations(QWidget* parent, WindowContext& context) {
  ConfigurationListDialog dialog(context, ConfigurationListMode::kManage, parent);
  dialog.exec();
  return dialog.active_configuration_changed();
}

bool AssignObjectFile(QWidget* parent, WindowContext& context, const std::string& configuration) {
  const std::string name = Configuration(context.profile, configuration)
                               .ReadText("General", "ConfigurationName", kUnnamedConfiguration);
  AssignObjectFileDialog dialog(context, name, parent);
  if (dialog.exec() != QDialog::Accepted || dialog.SelectedPath().empty()) return false;
  if (!WriteObjectFileSetting(context.profile, configuration, dialog.SelectedPath())) {
    ShowOpenFailure(parent, kConfigurationFileTitle, configuration, win::ERROR_ACCESS_DENIED);
    return false;
  }
  return configuration == context.configuration;
}

void GlobalSettings(QWidget* parent, WindowContext& context) {
  GlobalSettingsDialog dialog(context, parent);
  dialog.exec();
}

void ViewExportedFiles(QWidget* parent, WindowContext& context,
                       const std::vector<tagCOutputfile>& files) {
  ExportedFilesDialog dialog(context, files, parent);
  dialog.exec();
}

std::optional<std::vector<ImportedObject>> ImportObjectFile(QWidget* parent,
                                                            WindowContext& context) {
  if (RefusedWhileHandedOver(parent, context)) return std::nullopt;
  ImportObjectFileDialog dialog(ImportKind::kTextList, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const std::string path = TypedImportPath(context, dialog.path());
  std::vector<ImportedObject> objects;
  if (const win::Status s = ReadTextObjectList(path, dialog.object_type(), objects);
      s != win::ERROR_SUCCESS) {
    ShowOpenFailure(parent, kImportFileTitle, path, s);
    return std::nullopt;
  }
  return objects;
}

std::optional<std::vector<ImportedObject>> ImportQuollObjectFile(QWidget* parent,
                                                                 WindowContext& context) {
  if (RefusedWhileHandedOver(parent, context)) return std::nullopt;
  ImportObjectFileDialog dialog(ImportKind::kQuollObjectFile, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const std::string path = TypedImportPath(context, dialog.path());
  std::vector<QuollObjectLine> lines;
  if (const win::Status s = ReadQuollObjectLines(path, lines); s != win::ERROR_SUCCESS) {
    ShowOpenFailure(parent, kQuollConfigurationTitle, path, s);
    return std::nullopt;
  }
  return QuollObjects(lines);
}

std::string ConvertQuollObjectFile(QWidget* parent, WindowContext& context,
                                   const std::string& quoll_file) {
  std::vector<QuollObjectLine> lines;
  if (const win::Status s = ReadQuollObjectLines(quoll_file, lines); s != win::ERROR_SUCCESS) {
    ShowOpenFailure(parent, kQuollConfigurationTitle, quoll_file, s);
    return {};
  }
  ShowMessage(parent, FormatMessageId(kMsgQuollConversion, {quoll_file}), MessageIcon::kInformation,
              kQuollConfigurationTitle);
  const CommandPlacement placement(context);
  const FileOutcome outcome = WriteQuollConfiguration(context.profile, lines, placement.get());
  if (!outcome.ok()) {
    ShowOpenFailure(parent, outcome.failed_title, outcome.path, outcome.status);
    return {};
  }
  return outcome.path;
}

}  // namespace tabulon::ui
