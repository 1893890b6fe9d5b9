#include "ui/object_properties_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <array>

#include "ui/directory_browse.h"
#include "ui/icons.h"
#include "ui/qt_text.h"

namespace tabulon::ui {
namespace {

constexpr std::string_view kLowerScheme = "ldap://";
constexpr std::string_view kUpperScheme = "LDAP://";
// A grouping has no path of its own.
const QString kNoPath = QStringLiteral("n/a");

constexpr std::array<std::uint32_t, 6> kBrowseTypes = {
    kObjectDirectoryDomain,   kObjectDirectoryUser, kObjectDirectoryGroup,
    kObjectDirectoryComputer, kObjectContainer,     kObjectDirectoryContact};

void Name(QWidget* widget, const char* object_name, const QString& accessible) {
  widget->setObjectName(object_name);
  widget->setAccessibleName(accessible);
}

std::string DefaultBrowse(QWidget* parent, WindowContext& context, std::uint32_t type) {
  if (type == kObjectDirectoryDomain) return BrowseForDomain(parent, context);
  if (type == kObjectContainer) return FindContainerOrOu(parent, context);
  return PickDirectoryObject(parent, context, type);
}

}  // namespace

std::string WithUpperCaseLdapScheme(std::string path) {
  if (path.starts_with(kLowerScheme)) path.replace(0, kLowerScheme.size(), kUpperScheme);
  return path;
}

bool HasBrowseButton(std::uint32_t object_type) {
  return std::find(kBrowseTypes.begin(), kBrowseTypes.end(), object_type) != kBrowseTypes.end();
}

ObjectPropertiesDialog::ObjectPropertiesDialog(QWidget* parent, WindowContext& context,
                                               const ObjectListItem& object, Browse browse)
    : QDialog(parent),
      object_(object),
      browse_(std::move(browse)),
      type_(new QComboBox(this)),
      name_(new QLineEdit(ToQString(object.display_name), this)),
      comment_(new QLineEdit(ToQString(object.comment), this)),
      path_(new QLineEdit(ToQString(object.path), this)),
      browse_button_(new QPushButton(QStringLiteral("&Browse..."), this)),
      active_(new QCheckBox(QStringLiteral("Object is &Active (enable exporting)"), this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
  if (!browse_) {
    browse_ = [&context](QWidget* owner, std::uint32_t type) {
      return DefaultBrowse(owner, context, type);
    };
  }
  setObjectName("objectPropertiesDialog");
  setWindowTitle(QStringLiteral("Object Properties"));
  setAccessibleName(windowTitle());
  Name(type_, "objectTypeCombo", QStringLiteral("Object Type"));
  Name(name_, "displayNameEdit", QStringLiteral("Display Name"));
  Name(comment_, "commentEdit", QStringLiteral("Comment"));
  Name(path_, "pathEdit", QStringLiteral("Path"));
  Name(browse_button_, "browseButton", QStringLiteral("Browse"));
  Name(active_, "activeCheck", QStringLiteral("Object is Active"));
  buttons_->setObjectName("buttons");

  for (const ObjectTypeName& entry : EditableObjectTypes()) {
    type_->addItem(ObjectTypeIcon(entry.code), ToQString(entry.name), entry.code);
  }
  // A type the editor does not offer (read from a file) stays what it is.
  if (type_->findData(object.type) < 0) {
    type_->addItem(ObjectTypeIcon(object.type), QString::number(object.type), object.type);
  }
  type_->setCurrentIndex(type_->findData(object.type));
  active_->setChecked(object.active);
  typed_path_ = path_->text();

  auto* path_row = new QHBoxLayout;
  path_row->addWidget(path_, 1);
  path_row->addWidget(browse_button_);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Object &Type:"), type_);
  form->addRow(QStringLiteral("Display &Name:"), name_);
  form->addRow(QStringLiteral("&Comment:"), comment_);
  form->addRow(QStringLiteral("&Path:"), path_row);
  form->addRow(active_);
  form->addRow(buttons_);
  setLayout(form);
  resize(460, height());

  connect(type_, &QComboBox::currentIndexChanged, this, &ObjectPropertiesDialog::TypeChanged);
  connect(name_, &QLineEdit::textChanged, this, &ObjectPropertiesDialog::UpdateOk);
  connect(path_, &QLineEdit::textChanged, this, &ObjectPropertiesDialog::UpdateOk);
  connect(browse_button_, &QPushButton::clicked, this, [this] {
    const std::string chosen = browse_(this, SelectedType());
    if (!chosen.empty()) path_->setText(ToQString(chosen));
  });
  connect(buttons_, &QDialogButtonBox::accepted, this, &ObjectPropertiesDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
  TypeChanged();
}

std::uint32_t ObjectPropertiesDialog::SelectedType() const {
  return type_->currentData().toUInt();
}

void ObjectPropertiesDialog::TypeChanged() {
  const std::uint32_t type = SelectedType();
  const bool grouping = type == kObjectGrouping;
  if (grouping && path_->isEnabled()) {
    typed_path_ = path_->text();
    path_->setText(kNoPath);
  } else if (!grouping && !path_->isEnabled()) {
    path_->setText(typed_path_ == kNoPath ? QString() : typed_path_);
  }
  path_->setEnabled(!grouping);
  browse_button_->setVisible(HasBrowseButton(type));
  UpdateOk();
}

void ObjectPropertiesDialog::UpdateOk() {
  buttons_->button(QDialogButtonBox::Ok)
      ->setEnabled(!name_->text().isEmpty() && !path_->text().isEmpty());
}

ObjectListItem ObjectPropertiesDialog::Result() const {
  ObjectListItem out = object_;
  out.type = SelectedType();
  out.display_name = name_->text().toStdString();
  out.comment = comment_->text().toStdString();
  out.path = out.type == kObjectGrouping ? kNoPath.toStdString()
                                         : WithUpperCaseLdapScheme(path_->text().toStdString());
  out.active = active_->isChecked();
  return out;
}

void ObjectPropertiesDialog::accept() {
  if (name_->text().isEmpty() || path_->text().isEmpty()) return;
  path_->setText(ToQString(WithUpperCaseLdapScheme(path_->text().toStdString())));
  QDialog::accept();
}

}  // namespace tabulon::ui
