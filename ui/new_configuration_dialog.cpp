#include "ui/new_configuration_dialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/configuration.h"
#include "engine/messages.h"
#include "ui/assign_object_file_dialog.h"
#include "ui/configuration_commands.h"
#include "ui/configuration_files.h"
#include "ui/configuration_list_dialog.h"
#include "ui/configuration_widgets.h"
#include "ui/message_box.h"

namespace tabulon::ui {

NewConfigurationDialog::NewConfigurationDialog(WindowContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
  setObjectName("newConfigurationDialog");
  setWindowTitle(tr("Create New Export Configuration Template"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  name_ = Named(new QLineEdit, "configurationName", tr("Configuration Name"));
  file_name_ = Named(new QLineEdit, "configurationFileName", tr("Configuration File Name"));
  object_file_ = Named(new QLineEdit, "objectFileName", tr("Object File Name"));
  auto* object_row = new QHBoxLayout;
  object_row->addWidget(object_file_);
  auto* browse = Named(new QPushButton(tr("...")), "browseObjectFile", tr("Browse object files"));
  object_row->addWidget(browse);
  form->addRow(tr("Configuration Name"), name_);
  form->addRow(tr("Configuration File Name"), file_name_);
  form->addRow(tr("Object File Name"), object_row);
  layout->addLayout(form);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->setObjectName("buttons");
  auto* copy = Named(new QPushButton(tr("Copy From...")), "copyFromButton", tr("Copy From..."));
  buttons->addButton(copy, QDialogButtonBox::ActionRole);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &NewConfigurationDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(browse, &QPushButton::clicked, this, [this] { BrowseObjectFile(); });
  connect(copy, &QPushButton::clicked, this, [this] { CopyFrom(); });
  // Without a file name there would only be an extension to write to.
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  auto update_ok = [this, ok] {
    ok->setEnabled(!file_name_->text().isEmpty() && !object_file_->text().isEmpty());
  };
  connect(file_name_, &QLineEdit::textChanged, this, update_ok);
  connect(object_file_, &QLineEdit::textChanged, this, update_ok);
  update_ok();
}

void NewConfigurationDialog::BrowseObjectFile() {
  AssignObjectFileDialog dialog(context_, ToUtf8(name_->text()), this);
  if (dialog.exec() != QDialog::Accepted || dialog.SelectedPath().empty()) return;
  object_file_->setText(QFileInfo(ToQString(dialog.SelectedPath())).fileName());
}

void NewConfigurationDialog::CopyFrom() {
  ConfigurationListDialog dialog(context_, ConfigurationListMode::kCopy, this);
  if (dialog.exec() != QDialog::Accepted) return;
  const ListedConfiguration chosen = dialog.Selected();
  if (chosen.path.empty()) return;
  const Configuration source(context_.profile, chosen.path);
  name_->setText(ToQString(chosen.name + std::string(kCopySuffix)));
  file_name_->setText(ToQString(CopyFileName(chosen.path)));
  object_file_->setText(ToQString(source.ReadText("General", "ObjectFile", "")));
  copy_from_ = chosen.path;
}

void NewConfigurationDialog::accept() {
  const NewConfigurationFields fields{ToUtf8(name_->text()), ToUtf8(file_name_->text()),
                                      ToUtf8(object_file_->text()), copy_from_};
  if (fields.file_name.empty() || fields.object_file.empty()) return;
  if (NamesQuollObjectFile(fields.object_file)) {
    ShowMessage(this, MessageText(kMsgQuollObjectFileAsObjectFile));
    return;
  }
  const CommandPlacement placement(context_);
  const FileOutcome outcome = CreateConfiguration(context_.profile, fields, placement.get());
  if (!outcome.ok()) {
    ShowOpenFailure(this, outcome.failed_title, outcome.path, outcome.status);
    return;
  }
  created_ = outcome.path;
  QDialog::accept();
}

}  // namespace tabulon::ui
