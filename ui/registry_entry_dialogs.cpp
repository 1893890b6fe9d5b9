#include "ui/registry_entry_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <array>

#include "ui/configuration_widgets.h"
#include "ui/registry_template.h"
#include "ui/symbol_picker.h"

namespace tabulon::ui {
namespace {

// Radio button labels of the hives, in kHiveChoices order, with mnemonics.
constexpr std::array<const char*, kHiveChoices.size()> kHiveLabels{
    "HKEY_&LOCAL_MACHINE", "HKEY_CLASSES_&ROOT", "HKEY_&USERS", "HKEY_CURRENT_CON&FIG",
    "HKEY_CURRENT_U&SER"};

struct ModeRow {
  SubkeyMode mode;
  const char* object_name;
  const char* label;
};
constexpr std::array<ModeRow, 3> kModes{{
    {SubkeyMode::kNone, "noSubkeys", "&No subkeys: this key only"},
    {SubkeyMode::kOneLevel, "oneLevelSubkeys", "&One level of subkeys (*)"},
    {SubkeyMode::kRecursive, "allSubkeys", "&All subkeys at every depth (**)"},
}};

QDialogButtonBox* OkCancel(QDialog& dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->setObjectName(QStringLiteral("buttons"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  return buttons;
}

}  // namespace

bool EditRegistryKey(QWidget* parent, std::string& entry) {
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("registryKeyDialog"));
  dialog.setWindowTitle(QObject::tr("Registry Export Key Properties"));
  const RegistryKeyChoice start = ParseKeyChoice(entry);

  auto* hive_box = new QGroupBox(QObject::tr("Hive"));
  auto* hive_layout = new QVBoxLayout(hive_box);
  auto* hives = new QButtonGroup(&dialog);
  for (std::size_t i = 0; i < kHiveChoices.size(); ++i) {
    const QString name = QStringLiteral("hive") + ToQString(kHiveChoices[i].abbreviation);
    auto* radio = Named(new QRadioButton(QObject::tr(kHiveLabels[i])), name.toLatin1().constData(),
                        QObject::tr(kHiveLabels[i]));
    hives->addButton(radio, static_cast<int>(i));
    hive_layout->addWidget(radio);
  }
  hives->button(static_cast<int>(start.hive))->setChecked(true);

  auto* path = Named(new QLineEdit(ToQString(start.path)), "keyPath", QObject::tr("Key path"));
  auto* path_label = new QLabel(QObject::tr("Key &path:"));
  path_label->setBuddy(path);
  auto* view64 = Named(new QCheckBox(QObject::tr("Enable &64-bit registry key access")), "view64",
                       QObject::tr("Enable 64-bit registry key access"));
  view64->setChecked(start.view64);

  auto* mode_box = new QGroupBox(QObject::tr("Subkeys"));
  auto* mode_layout = new QVBoxLayout(mode_box);
  auto* modes = new QButtonGroup(&dialog);
  for (const ModeRow& row : kModes) {
    auto* radio =
        Named(new QRadioButton(QObject::tr(row.label)), row.object_name, QObject::tr(row.label));
    modes->addButton(radio, static_cast<int>(row.mode));
    mode_layout->addWidget(radio);
  }
  modes->button(static_cast<int>(start.mode))->setChecked(true);

  auto* preview = Named(new QLabel, "entryPreview", QObject::tr("Key entry"));
  preview->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* buttons = OkCancel(dialog);

  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(hive_box);
  auto* path_row = new QHBoxLayout;
  path_row->addWidget(path_label);
  path_row->addWidget(path, 1);
  layout->addLayout(path_row);
  layout->addWidget(view64);
  layout->addWidget(mode_box);
  layout->addWidget(preview);
  layout->addWidget(buttons);

  auto compose = [&] {
    return ComposeKeyEntry({static_cast<std::size_t>(hives->checkedId()), view64->isChecked(),
                            ToUtf8(path->text()), static_cast<SubkeyMode>(modes->checkedId())});
  };
  // A run skips an entry without "\": a hive alone names no key to read.
  auto update = [&] {
    const std::string composed = compose();
    preview->setText(QObject::tr("Entry: %1").arg(ToQString(composed)));
    buttons->button(QDialogButtonBox::Ok)->setEnabled(composed.find('\\') != std::string::npos);
  };
  QObject::connect(hives, &QButtonGroup::idToggled, &dialog, update);
  QObject::connect(modes, &QButtonGroup::idToggled, &dialog, update);
  QObject::connect(view64, &QCheckBox::toggled, &dialog, update);
  QObject::connect(path, &QLineEdit::textChanged, &dialog, update);
  update();
  path->setFocus();
  dialog.resize(480, dialog.sizeHint().height());
  if (dialog.exec() != QDialog::Accepted) return false;
  entry = compose();
  return true;
}

bool EditRegistryValue(QWidget* parent, std::string& name) {
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("registryValueDialog"));
  dialog.setWindowTitle(QObject::tr("Registry Export Value Properties"));
  auto* value = Named(new QLineEdit(ToQString(name)), "valueName", QObject::tr("Value name"));
  // A "," would end the column in the template's column list.
  value->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^,]*")), value));
  value->setPlaceholderText(QObject::tr("(default value)"));
  auto* label = new QLabel(QObject::tr("Value &name:"));
  label->setBuddy(value);
  auto* lookup = Named(new QPushButton(QObject::tr("&Lookup Symbol...")), "lookupSymbol",
                       QObject::tr("Lookup Symbol..."));
  lookup->setAutoDefault(false);
  QObject::connect(lookup, &QPushButton::clicked, &dialog, [&dialog, value] {
    if (const auto symbol = PickSymbol(&dialog, true)) value->setText(ToQString(*symbol));
  });
  auto* hint =
      new QLabel(QObject::tr("A value of the key, or an export symbol; empty for the key's "
                             "default value."));
  hint->setWordWrap(true);
  auto* layout = new QVBoxLayout(&dialog);
  auto* row = new QHBoxLayout;
  row->addWidget(label);
  row->addWidget(value, 1);
  row->addWidget(lookup);
  layout->addLayout(row);
  layout->addWidget(hint);
  layout->addWidget(OkCancel(dialog));
  dialog.resize(460, dialog.sizeHint().height());
  if (dialog.exec() != QDialog::Accepted) return false;
  name = ToUtf8(value->text());
  return true;
}

}  // namespace tabulon::ui
