#include "ui/configuration_list_dialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>

#include "engine/configuration.h"
#include "engine/error_text.h"
#include "engine/messages.h"
#include "platform/utf8_path.h"
#include "ui/config_properties_dialog.h"
#include "ui/configuration_commands.h"
#include "ui/configuration_widgets.h"
#include "ui/enabled_exports.h"
#include "ui/icons.h"
#include "ui/message_box.h"

namespace tabulon::ui {
namespace {

struct ModeText {
  ConfigurationListMode mode;
  std::string_view title;
  const char* button;
};

const ModeText& TextOf(ConfigurationListMode mode) {
  static constexpr ModeText kTexts[] = {
      {ConfigurationListMode::kOpen, "Open Export Configuration", "Open"},
      {ConfigurationListMode::kManage, {}, "Close"},
      {ConfigurationListMode::kCopy, {}, "Copy"},
  };
  for (const ModeText& text : kTexts) {
    if (text.mode == mode) return text;
  }
  return kTexts[0];
}

std::string_view TitleOf(ConfigurationListMode mode) {
  switch (mode) {
    case ConfigurationListMode::kManage:
      return MessageText(kMsgManageConfigurations);
    case ConfigurationListMode::kCopy:
      return MessageText(kMsgCopyConfiguration);
    case ConfigurationListMode::kOpen:
      break;
  }
  return TextOf(mode).title;
}

}  // namespace

ConfigurationListDialog::ConfigurationListDialog(WindowContext& context, ConfigurationListMode mode,
                                                 QWidget* parent)
    : QDialog(parent), context_(context), mode_(mode) {
  setObjectName("configurationListDialog");
  setWindowTitle(ToQString(TitleOf(mode)));
  auto* layout = new QVBoxLayout(this);

  // The search folder: hidden while managing, where the list stays put.
  auto* folder_row = new QWidget;
  folder_row->setObjectName("searchFolderControls");
  auto* folder_layout = new QHBoxLayout(folder_row);
  folder_layout->setContentsMargins(0, 0, 0, 0);
  const QString folder_label = tr("Export Configuration File Search Directory");
  folder_layout->addWidget(new QLabel(folder_label));
  folder_ =
      Named(new QLineEdit(ToQString(ConfigurationFolder(context.settings, context.DataFolder()))),
            "searchFolder", folder_label);
  folder_layout->addWidget(folder_);
  auto* browse = Named(new QPushButton(tr("...")), "browseFolder", tr("Browse"));
  folder_layout->addWidget(browse);
  auto* update = Named(new QPushButton(tr("&Update Configuration List")), "updateList",
                       tr("&Update Configuration List"));
  folder_layout->addWidget(update);
  layout->addWidget(folder_row);
  folder_row->setVisible(mode != ConfigurationListMode::kManage);

  configurations_ = Named(new QListWidget, "configurationList", tr("Export configurations"));
  layout->addWidget(configurations_);

  const QString exports_label = tr("&Enabled Exports");
  auto* exports_caption = new QLabel(exports_label);
  layout->addWidget(exports_caption);
  enabled_exports_ = Named(new QListWidget, "enabledExports", exports_label);
  exports_caption->setBuddy(enabled_exports_);
  layout->addWidget(enabled_exports_);

  auto* buttons = new QDialogButtonBox;
  buttons->setObjectName("buttons");
  auto* properties =
      Named(new QPushButton(tr("&Properties...")), "propertiesButton", tr("&Properties..."));
  auto* assign = Named(new QPushButton(tr("Assign To...")), "assignButton", tr("Assign To..."));
  auto* remove = Named(new QPushButton(tr("&Delete...")), "deleteButton", tr("&Delete..."));
  buttons->addButton(properties, QDialogButtonBox::ActionRole);
  buttons->addButton(assign, QDialogButtonBox::ActionRole);
  buttons->addButton(remove, QDialogButtonBox::ActionRole);
  default_button_ =
      Named(new QPushButton(tr(TextOf(mode).button)), "defaultButton", tr(TextOf(mode).button));
  default_button_->setDefault(true);
  buttons->addButton(default_button_, mode == ConfigurationListMode::kManage
                                          ? QDialogButtonBox::RejectRole
                                          : QDialogButtonBox::AcceptRole);
  if (mode != ConfigurationListMode::kManage) buttons->addButton(QDialogButtonBox::Cancel);
  layout->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(update, &QPushButton::clicked, this, [this] { UpdateFolder(); });
  connect(browse, &QPushButton::clicked, this, [this] { BrowseFolder(); });
  connect(configurations_, &QListWidget::currentRowChanged, this, [this] { ShowEnabledExports(); });
  connect(properties, &QPushButton::clicked, this, [this] { ShowProperties(); });
  connect(assign, &QPushButton::clicked, this, [this] { AssignTo(); });
  connect(remove, &QPushButton::clicked, this, [this] { DeleteSelected(); });
  if (mode != ConfigurationListMode::kManage) {
    connect(configurations_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  }
  Refill();
}

ListedConfiguration ConfigurationListDialog::Selected() const {
  const int row = configurations_->currentRow();
  if (row < 0 || static_cast<std::size_t>(row) >= listed_.size()) return {};
  return listed_[static_cast<std::size_t>(row)];
}

void ConfigurationListDialog::Refill() {
  listed_ = ListConfigurations(context_.profile, ToUtf8(folder_->text()),
                               context_.settings.Get("ConfigurationFileExtension"));
  configurations_->clear();
  for (const ListedConfiguration& c : listed_) configurations_->addItem(ToQString(c.name));
  if (!listed_.empty()) configurations_->setCurrentRow(0);
  ShowEnabledExports();
  UpdateDefaultButton();
}

void ConfigurationListDialog::UpdateDefaultButton() {
  // Close always closes; Open and Copy need a configuration.
  default_button_->setEnabled(mode_ == ConfigurationListMode::kManage || !listed_.empty());
}

void ConfigurationListDialog::UpdateFolder() {
  context_.settings.Set("ConfigurationFileDirectory", ToUtf8(folder_->text()));
  Refill();
}

void ConfigurationListDialog::BrowseFolder() {
  const QString folder = QFileDialog::getExistingDirectory(
      this, tr("Export Configuration File Search Directory"), folder_->text());
  if (folder.isEmpty()) return;
  folder_->setText(folder);
  UpdateFolder();
}

void ConfigurationListDialog::ShowEnabledExports() {
  enabled_exports_->clear();
  const ListedConfiguration selected = Selected();
  if (selected.path.empty()) return;
  const Configuration configuration(context_.profile, selected.path);
  for (const EnabledExportRow& row : EnabledExports(configuration)) {
    auto* item = new QListWidgetItem(ExportTypeIcon(row.export_type), ToQString(row.text));
    if (row.is_template) item->setText(QStringLiteral("    ") + item->text());
    enabled_exports_->addItem(item);
  }
}

void ConfigurationListDialog::ShowProperties() {
  const int row = configurations_->currentRow();
  const ListedConfiguration selected = Selected();
  if (selected.path.empty()) return;
  EditConfigurationProperties(this, SheetFor(context_, selected.path));
  if (selected.path == context_.configuration) active_changed_ = true;
  // The name and the enabled exports may be others now.
  listed_[static_cast<std::size_t>(row)].name =
      Configuration(context_.profile, selected.path).ReadText("General", "ConfigurationName", "");
  configurations_->item(row)->setText(ToQString(listed_[static_cast<std::size_t>(row)].name));
  ShowEnabledExports();
}

void ConfigurationListDialog::AssignTo() {
  const ListedConfiguration selected = Selected();
  if (selected.path.empty()) return;
  if (AssignObjectFile(this, context_, selected.path)) active_changed_ = true;
}

void ConfigurationListDialog::DeleteSelected() {
  const int row = configurations_->currentRow();
  const ListedConfiguration selected = Selected();
  if (selected.path.empty()) return;
  if (AskYesNo(this, FormatMessageId(kMsgConfirmDeleteConfiguration, {selected.path}))) {
    std::error_code ec;
    if (!std::filesystem::remove(platform::Utf8Path(selected.path), ec) || ec) {
      ShowMessage(this, WindowsErrorText(win::StatusFromErrno(ec ? ec.value() : ENOENT)));
    } else if (selected.path == context_.configuration) {
      active_changed_ = true;
    }
  }
  // The entry leaves the list either way, until the list is filled again.
  listed_.erase(listed_.begin() + row);
  delete configurations_->takeItem(row);
  ShowEnabledExports();
  UpdateDefaultButton();
}

}  // namespace tabulon::ui
