#include "ui/file_locations_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>
#include <vector>

#include "engine/config_keys.h"
#include "ui/configuration_widgets.h"
#include "ui/file_field.h"

namespace tabulon::ui {
namespace {

struct LocationField {
  std::string_view key;  // in section General
  FileFieldKind kind;
  const char* object_name;
  const char* label;  // with its mnemonic
};

constexpr LocationField kLocationFields[] = {
    {"ObjectFile", FileFieldKind::kObjectFile, "objectFile", "&Object File Name"},
    {"RegistryCfgFile", FileFieldKind::kTemplateFile, "registryCfgFile", "&Registry Template File"},
    {"AdCfgQueryFile", FileFieldKind::kTemplateFile, "adCfgQueryFile", "&Directory Query File"},
    {"WmiCfgQueryFile", FileFieldKind::kTemplateFile, "wmiCfgQueryFile", "&WMI Query File"},
    {"FileCfgFile", FileFieldKind::kTemplateFile, "fileCfgFile", "&File/Directory Template File"},
};

}  // namespace

bool EditFileLocations(QWidget* parent, const SheetContext& context) {
  QDialog dialog(parent);
  dialog.setObjectName("fileLocationsDialog");
  dialog.setWindowTitle(QObject::tr("Export Configuration File Locations"));
  auto* layout = new QVBoxLayout(&dialog);
  auto* form = new QFormLayout;
  const Configuration configuration = context.config();
  std::vector<FileField*> fields;
  for (const LocationField& location : kLocationFields) {
    QString label = QObject::tr(location.label);
    auto* field = new FileField(location.kind, location.object_name, label);
    field->setText(ToQString(configuration.ReadText("General", location.key, "")));
    // A blank template file name is its default file, which the field says.
    const std::string_view default_file = RunDefault("General", location.key);
    if (!default_file.empty()) field->edit()->setPlaceholderText(ToQString(default_file));
    form->addRow(label, field);
    fields.push_back(field);
  }
  layout->addLayout(form);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->setObjectName("buttons");
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(buttons);
  dialog.resize(560, dialog.sizeHint().height());
  if (dialog.exec() != QDialog::Accepted) return false;
  // Only what was changed, so that OK on an untouched dialog leaves the file as it was.
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::string_view key = kLocationFields[i].key;
    const std::string typed = ToUtf8(fields[i]->text());
    if (typed != configuration.ReadText("General", key, "")) {
      configuration.WriteText("General", key, typed);
    }
  }
  return true;
}

}  // namespace tabulon::ui
