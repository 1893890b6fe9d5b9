#include "ui/import_object_file_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/object_file.h"
#include "platform/user_directories.h"
#include "ui/configuration_widgets.h"
#include "ui/icons.h"

namespace tabulon::ui {

std::string QuollDataFolder() {
  const std::string base = platform::UserDataHome();
  const QString folder = ToQString(base.empty() ? base : base + "/Wendrock/Quoll");
  return ToUtf8(!folder.isEmpty() && QDir(folder).exists() ? folder : QDir::currentPath());
}

ImportObjectFileDialog::ImportObjectFileDialog(ImportKind kind, QWidget* parent)
    : QDialog(parent), kind_(kind) {
  const bool quoll = kind == ImportKind::kQuollObjectFile;
  setObjectName(quoll ? "importQuollObjectFileDialog" : "importObjectFileDialog");
  setWindowTitle(quoll ? tr("Import Quoll Object File") : tr("Import Object File"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  const QString path_label = tr("File Name");
  path_ = Named(new QLineEdit, "importFile", path_label);
  auto* path_row = new QHBoxLayout;
  path_row->addWidget(path_);
  auto* browse = Named(new QPushButton(tr("...")), "browseImportFile", tr("Browse"));
  path_row->addWidget(browse);
  form->addRow(path_label, path_row);
  if (!quoll) {
    const QString type_label = tr("Object Type");
    type_ = Named(new QComboBox, "objectType", type_label);
    for (const ObjectTypeName& type : EditableObjectTypes()) {
      type_->addItem(ObjectTypeIcon(type.code), ToQString(type.name), type.code);
    }
    form->addRow(type_label, type_);
  }
  layout->addLayout(form);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->setObjectName("buttons");
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(browse, &QPushButton::clicked, this, [this] { Browse(); });
}

std::string ImportObjectFileDialog::path() const {
  return ToUtf8(path_->text());
}

std::uint32_t ImportObjectFileDialog::object_type() const {
  return type_ == nullptr ? 0 : type_->currentData().toUInt();
}

void ImportObjectFileDialog::Browse() {
  const QString start =
      kind_ == ImportKind::kQuollObjectFile ? ToQString(QuollDataFolder()) : path_->text();
  const QString chosen = QFileDialog::getOpenFileName(this, windowTitle(), start);
  if (!chosen.isEmpty()) path_->setText(chosen);
}

}  // namespace tabulon::ui
