#include "ui/config_properties_dialog.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "engine/catalogue.h"
#include "engine/messages.h"
#include "exporters/templates/template_files.h"
#include "ui/config_sheet.h"
#include "ui/configuration_files.h"
#include "ui/configuration_widgets.h"
#include "ui/enable_operation.h"
#include "ui/enabled_exports.h"
#include "ui/file_locations_dialog.h"
#include "ui/icons.h"
#include "ui/main_window.h"
#include "ui/message_box.h"

namespace tabulon::ui {
namespace {

// What a row of either list stands for.
constexpr int kTypeRole = Qt::UserRole;
constexpr int kTemplateRole = Qt::UserRole + 1;  // the template's name; absent for a type

void SetRow(QListWidgetItem* item, std::uint32_t type, const std::string* template_name) {
  item->setData(kTypeRole, type);
  if (template_name != nullptr) item->setData(kTemplateRole, ToQString(*template_name));
}

// Disables the export a row of the enabled list stands for; a template
// type's own row stands for all its templates.
void Disable(const SheetContext& context, const QListWidgetItem& item) {
  const std::uint32_t type = item.data(kTypeRole).toUInt();
  if (type == kNoExportType) return;
  TemplateKind kind;
  if (!TemplateKindOfType(type, kind)) {
    SetExportTypeEnabled(context.config(), type, false);
    return;
  }
  const QVariant name = item.data(kTemplateRole);
  if (name.isValid()) {
    SetTemplateEnabled(context, kind, ToUtf8(name.toString()), false);
    return;
  }
  for (const std::string& listed :
       context.config().ReadTemplateList(TemplateKindInfo(kind).list_key)) {
    SetTemplateEnabled(context, kind, listed, false);
  }
}

}  // namespace

ConfigPropertiesDialog::ConfigPropertiesDialog(const SheetContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
  setObjectName("configPropertiesDialog");
  setWindowTitle(tr("Export Configuration Properties"));
  auto* layout = new QVBoxLayout(this);

  auto* form = new QGridLayout;
  auto* file = Named(new QLineEdit(ToQString(context.configuration)), "configurationFile",
                     tr("Configuration File"));
  file->setReadOnly(true);
  file->setCursorPosition(0);
  name_ = Named(new QLineEdit, "configurationName", tr("Configuration Name"));
  name_->setText(ToQString(context.config().ReadText("General", "ConfigurationName", "")));
  auto* file_label = new QLabel(tr("Configuration &File:"));
  file_label->setBuddy(file);
  auto* name_label = new QLabel(tr("Configuration &Name:"));
  name_label->setBuddy(name_);
  form->addWidget(file_label, 0, 0);
  form->addWidget(file, 0, 1);
  form->addWidget(name_label, 1, 0);
  form->addWidget(name_, 1, 1);
  layout->addLayout(form);

  auto* lists = new QGridLayout;
  enabled_label_ = new QLabel;
  enabled_label_->setObjectName("enabledExportsLabel");
  enabled_ = Named(new QListWidget, "enabledExports", ToQString(MessageText(kMsgEnabledExports)));
  enabled_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  enabled_->setIconSize(QSize(16, 16));
  enabled_label_->setBuddy(enabled_);
  available_ = Named(new QTreeWidget, "availableExports", tr("Available Exports"));
  available_->setHeaderHidden(true);
  available_->setIconSize(QSize(16, 16));
  auto* available_label = new QLabel(tr("A&vailable Exports"));
  available_label->setBuddy(available_);
  auto* add = Named(new QPushButton(tr("<< &Add")), "addButton", tr("Add"));
  auto* remove = Named(new QPushButton(tr("&Delete")), "deleteButton", tr("Delete"));
  auto* middle = new QVBoxLayout;
  middle->addStretch();
  middle->addWidget(add);
  middle->addWidget(remove);
  middle->addStretch();
  lists->addWidget(enabled_label_, 0, 0);
  lists->addWidget(available_label, 0, 2);
  lists->addWidget(enabled_, 1, 0);
  lists->addLayout(middle, 1, 1);
  lists->addWidget(available_, 1, 2);
  layout->addLayout(lists, 1);

  auto* buttons = new QHBoxLayout;
  auto* properties = Named(new QPushButton(tr("Export &Properties...")), "exportPropertiesButton",
                           tr("Export Properties..."));
  auto* locations = Named(new QPushButton(tr("File &Locations...")), "fileLocationsButton",
                          tr("File Locations..."));
  auto* close = Named(new QPushButton(tr("Close")), "closeButton", tr("Close"));
  for (QPushButton* button : {add, remove, properties, locations}) button->setAutoDefault(false);
  close->setDefault(true);
  buttons->addWidget(properties);
  buttons->addWidget(locations);
  buttons->addStretch();
  buttons->addWidget(close);
  layout->addLayout(buttons);

  connect(add, &QPushButton::clicked, this, [this] { AddSelected(); });
  connect(remove, &QPushButton::clicked, this, [this] { DeleteSelected(); });
  connect(properties, &QPushButton::clicked, this, [this] { OpenSheet(SelectedType()); });
  connect(locations, &QPushButton::clicked, this, [this] { EditLocations(); });
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  connect(enabled_, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { OpenSheet(item->data(kTypeRole).toUInt()); });
  connect(available_, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { OpenSheet(item->data(0, kTypeRole).toUInt()); });
  connect(enabled_, &QListWidget::itemSelectionChanged, this, [this] { tree_last_used_ = false; });
  connect(available_, &QTreeWidget::itemSelectionChanged, this, [this] { tree_last_used_ = true; });
  QWidget* const order[] = {name_, enabled_, add, remove, available_, properties, locations, close};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
  resize(640, 460);
  Rebuild();
  name_->setFocus();
}

void ConfigPropertiesDialog::Rebuild() {
  const Configuration configuration = context_.config();
  QString label = ToQString(MessageText(kMsgEnabledExports));
  if (configuration.ReadInt("Computers", "FilteringEnable", 0) == 1) {
    label += ToQString(MessageText(kMsgComputerFilteringOn));
  }
  // The mnemonic goes on the first letter, so the list is reached by Alt+E.
  enabled_label_->setText(QStringLiteral("&") + label);
  FillEnabled(configuration);
  FillAvailable(configuration);
}

void ConfigPropertiesDialog::FillEnabled(const Configuration& configuration) {
  enabled_->clear();
  for (const EnabledExportRow& row : EnabledExports(configuration)) {
    auto* item = new QListWidgetItem(ToQString(row.text), enabled_);
    if (row.export_type != kNoExportType) item->setIcon(ExportTypeIcon(row.export_type));
    SetRow(item, row.export_type, row.is_template ? &row.text : nullptr);
    if (!row.is_template) continue;
    item->setText(QStringLiteral("    ") + item->text());
    // A name the template file lacks still runs, and fails on its empty
    // output file name: the row says so before a run does.
    TemplateKind kind;
    if (!TemplateKindOfType(row.export_type, kind)) continue;
    const std::string file = context_.TemplateFile(kind);
    const std::vector<std::string> names = ListTemplates(file, kind).names;
    if (std::none_of(names.begin(), names.end(),
                     [&row](const std::string& name) { return TemplateListed(name, row.text); })) {
      item->setIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
      item->setToolTip(tr("The template file %1 has no template of this name: a run finds no "
                          "output file for it.")
                           .arg(ToQString(file)));
    }
  }
}

void ConfigPropertiesDialog::FillAvailable(const Configuration& configuration) {
  available_->clear();
  const auto types = ExportTypes();
  for (std::uint32_t t = 0; t < kExportTypeCount; ++t) {
    const ExportTypeDescriptor& d = types[t];
    TemplateKind kind;
    const bool templates = TemplateKindOfType(t, kind);
    if (!templates && configuration.ReadInt(d.section, d.enable_key, 0) == 1) continue;
    auto* node = new QTreeWidgetItem(available_, {ToQString(d.settings_label)});
    node->setIcon(0, ExportTypeIcon(t));
    node->setData(0, kTypeRole, t);
    if (!templates) continue;
    // The kind's templates that the configuration does not run yet.
    const TemplateListing listing = ListTemplates(context_.TemplateFile(kind), kind);
    if (!listing.failure.empty()) {
      node->setIcon(0, style()->standardIcon(QStyle::SP_MessageBoxWarning));
      node->setToolTip(0, ToQString(listing.failure));
    }
    const std::string enabled =
        configuration.ReadText("Templates", TemplateKindInfo(kind).list_key, "");
    for (const std::string& name : listing.names) {
      if (TemplateListed(enabled, name)) continue;
      auto* child = new QTreeWidgetItem(node, {ToQString(name)});
      child->setIcon(0, ExportTypeIcon(t));
      child->setData(0, kTypeRole, t);
      child->setData(0, kTemplateRole, ToQString(name));
    }
    node->setExpanded(true);
  }
}

void ConfigPropertiesDialog::AddSelected() {
  QTreeWidgetItem* item = available_->currentItem();
  if (item == nullptr || !item->isSelected()) return;
  const std::uint32_t type = item->data(0, kTypeRole).toUInt();
  TemplateKind kind;
  if (!TemplateKindOfType(type, kind)) {
    SetExportTypeEnabled(context_.config(), type, true);
  } else if (const QVariant name = item->data(0, kTemplateRole); name.isValid()) {
    if (SetTemplateEnabled(context_, kind, ToUtf8(name.toString()), true) ==
        EnableOutcome::kNoOutputFile) {
      ShowMessage(this, MessageText(kMsgOutputFileRequired));
      return;
    }
  } else {
    return;  // a template type is enabled by its templates
  }
  Rebuild();
}

void ConfigPropertiesDialog::DeleteSelected() {
  const QList<QListWidgetItem*> selected = enabled_->selectedItems();
  if (selected.isEmpty()) return;
  for (const QListWidgetItem* item : selected) Disable(context_, *item);
  Rebuild();
}

std::uint32_t ConfigPropertiesDialog::SelectedType() const {
  if (tree_last_used_) {
    if (const QTreeWidgetItem* item = available_->currentItem()) {
      return item->data(0, kTypeRole).toUInt();
    }
  } else if (const QListWidgetItem* item = enabled_->currentItem()) {
    return item->data(kTypeRole).toUInt();
  }
  return kNoExportType;
}

void ConfigPropertiesDialog::OpenSheet(std::uint32_t export_type) {
  if (EditConfiguration(this, context_, export_type)) Rebuild();
}

void ConfigPropertiesDialog::EditLocations() {
  // The template files may be others now, and so the templates offered.
  if (EditFileLocations(this, context_)) Rebuild();
}

void ConfigPropertiesDialog::done(int result) {
  context_.config().WriteText("General", "ConfigurationName", ToUtf8(name_->text()));
  QDialog::done(result);
}

void EditConfigurationProperties(QWidget* parent, const SheetContext& context) {
  ConfigPropertiesDialog dialog(context, parent);
  dialog.exec();
}

int RunConfigurationProperties(WindowContext& context, const std::string& name) {
  const std::string path = ResolveConfigurationName(context.locations, name);
  const QFileInfo file(ToQString(path));
  if (!file.isFile() || !file.isReadable()) {
    ShowOpenFailure(nullptr, kConfigurationFileTitle, path.empty() ? name : path,
                    file.exists() ? win::ERROR_ACCESS_DENIED : win::ERROR_FILE_NOT_FOUND);
    return 1;
  }
  EditConfigurationProperties(nullptr, SheetContext{context.profile, path, context.locations});
  return 0;
}

}  // namespace tabulon::ui
