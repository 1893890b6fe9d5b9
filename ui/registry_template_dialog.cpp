// "Registry Export Template Properties": a registry template's name, output
// file, key entries and columns, written to its section on OK.
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/configuration_widgets.h"
#include "ui/editable_list.h"
#include "ui/file_field.h"
#include "ui/message_box.h"
#include "ui/registry_entry_dialogs.h"
#include "ui/registry_template.h"
#include "ui/template_editor.h"

namespace tabulon::ui {
namespace {

// The registry editor limits template names to this many characters.
constexpr int kNameChars = 50;

// A value column is kept in the item's data: the empty name (the key's
// default value) is shown by a text of its own.
void ShowColumn(QListWidgetItem& item, const QString& name) {
  item.setData(Qt::UserRole, name);
  item.setText(name.isEmpty() ? QObject::tr("(default value)") : name);
}

class RegistryTemplateDialog : public QDialog {
 public:
  explicit RegistryTemplateDialog(const TemplateEdit& edit) : QDialog(edit.parent), edit_(edit) {
    setObjectName(QStringLiteral("registryTemplateDialog"));
    setWindowTitle(tr("Registry Export Template Properties"));
    const RegistryTemplate t =
        edit.name.empty() ? RegistryTemplate{}
                          : ReadRegistryTemplate(edit.context->profile, edit.file, edit.name);
    enabled_ = Named(new QCheckBox(tr("&Enabled")), "templateEnabled", tr("Enabled"));
    enabled_->setChecked(t.enabled);
    name_ = Named(new QLineEdit(ToQString(edit.name)), "templateName", tr("Template name"));
    // ";" separates the names of a configuration's list; brackets end a
    // section's name.
    name_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^;\\[\\]]*")), name_));
    // A longer name written by hand stays whole rather than being cut.
    name_->setMaxLength(std::max<int>(kNameChars, static_cast<int>(name_->text().size())));
    output_ = new FileField(FileFieldKind::kOutputFile, QStringLiteral("outputFileName"),
                            tr("Output file name"));
    output_->setText(ToQString(t.output_file));
    auto* form = new QFormLayout;
    form->addRow(enabled_);
    form->addRow(tr("Template &name:"), name_);
    form->addRow(tr("&Output file name:"), output_);

    keys_ = new EditableList(
        QStringLiteral("keyList"),
        {tr("Registry &keys:"), tr("&Add..."), tr("Ed&it..."), tr("&Remove"), {}, {}},
        [this](QListWidgetItem& item, bool) {
          std::string entry = item.text().isEmpty() ? std::string("HKLM") : ToUtf8(item.text());
          if (!EditRegistryKey(this, entry)) return false;
          item.setText(ToQString(entry));
          return true;
        });
    for (const std::string& key : t.keys) keys_->Append(ToQString(key));
    columns_ = new EditableList(QStringLiteral("valueList"),
                                {tr("&Value names (columns):"), tr("A&dd..."), tr("Edi&t..."),
                                 tr("Re&move"), tr("&Up"), tr("Do&wn")},
                                [this](QListWidgetItem& item, bool) {
                                  std::string name = ToUtf8(item.data(Qt::UserRole).toString());
                                  if (!EditRegistryValue(this, name)) return false;
                                  ShowColumn(item, ToQString(name));
                                  return true;
                                });
    for (const std::string& column : t.columns) {
      ShowColumn(*columns_->Append({}), ToQString(column));
    }
    keys_->list()->setCurrentRow(0);
    columns_->list()->setCurrentRow(0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    auto update_ok = [this, ok] {
      ok->setEnabled(!name_->text().trimmed().isEmpty() && !output_->text().trimmed().isEmpty());
    };
    connect(name_, &QLineEdit::textChanged, this, update_ok);
    connect(output_, &FileField::textChanged, this, update_ok);
    update_ok();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(keys_, 1);
    layout->addWidget(columns_, 1);
    layout->addWidget(buttons);
    resize(620, 560);
  }

  void accept() override {
    const QString name = name_->text().trimmed();
    if (name.isEmpty() || output_->text().trimmed().isEmpty()) return;
    RegistryTemplate t;
    t.enabled = enabled_->isChecked();
    t.output_file = ToUtf8(output_->text());
    for (const QString& key : keys_->Texts()) t.keys.push_back(ToUtf8(key));
    for (const QString& column : columns_->Texts(Qt::UserRole)) t.columns.push_back(ToUtf8(column));
    if (!StoreEditedTemplate(this, edit_, ToUtf8(name), RegistryTemplateValues(t))) return;
    saved_name_ = ToUtf8(name);
    QDialog::accept();
  }

  const std::string& saved_name() const { return saved_name_; }

 private:
  const TemplateEdit& edit_;
  QCheckBox* enabled_;
  QLineEdit* name_;
  FileField* output_;
  EditableList* keys_;
  EditableList* columns_;
  std::string saved_name_;
};

}  // namespace

bool EditRegistryTemplate(const TemplateEdit& edit, std::string& saved_name) {
  RegistryTemplateDialog dialog(edit);
  if (dialog.exec() != QDialog::Accepted) return false;
  saved_name = dialog.saved_name();
  return true;
}

}  // namespace tabulon::ui
