#include "ui/global_settings_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>
#include <string_view>

#include "ui/configuration_widgets.h"

namespace tabulon::ui {
namespace {

struct SettingField {
  std::string_view key;
  const char* label;
  const char* object_name;
};

constexpr SettingField kSettingFields[] = {
    {"ObjectFileDirectory", "Object File Directory", "objectFileDirectory"},
    {"ObjectFileExtension", "Object File Extension", "objectFileExtension"},
    {"ConfigurationFileDirectory", "Configuration File Directory", "configurationFileDirectory"},
    {"ConfigurationFileExtension", "Configuration File Extension", "configurationFileExtension"},
};

}  // namespace

GlobalSettingsDialog::GlobalSettingsDialog(WindowContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
  setObjectName("globalSettingsDialog");
  setWindowTitle(tr("Tabulon Global Settings"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  for (const SettingField& field : kSettingFields) {
    auto* edit = Named(new QLineEdit(ToQString(context.settings.Get(field.key))), field.object_name,
                       tr(field.label));
    form->addRow(tr(field.label), edit);
    fields_.push_back(edit);
  }
  layout->addLayout(form);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->setObjectName("buttons");
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &GlobalSettingsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void GlobalSettingsDialog::accept() {
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    context_.settings.Set(kSettingFields[i].key, ToUtf8(fields_[i]->text()));
  }
  QDialog::accept();
}

}  // namespace tabulon::ui
