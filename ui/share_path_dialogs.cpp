#include "ui/share_path_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

#include "engine/messages.h"
#include "ui/configuration_widgets.h"
#include "ui/message_box.h"

namespace tabulon::ui {
namespace {

QDialogButtonBox* OkCancel(QDialog& dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->setObjectName(QStringLiteral("buttons"));
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  return buttons;
}

QLabel* Hint(const QString& text) {
  auto* label = new QLabel(text);
  label->setWordWrap(true);
  label->setEnabled(false);
  return label;
}

// Checks an entry before the dialog closes; false after saying why.
bool Acceptable(QWidget* parent, const SharePathEntry& entry, const ShareKinds& kinds) {
  if (entry.AllShares() && !kinds.Any()) {
    ShowMessage(parent, MessageText(kMsgShareOptionRequired));
    return false;
  }
  if (entry.option == ScanOption::kLevels && entry.levels < kMinScanLevels) {
    ShowMessage(parent, MessageText(kMsgScanDepth));
    return false;
  }
  return true;
}

}  // namespace

bool EditSharePath(QWidget* parent, SharePathEntry& entry, ShareKinds& kinds,
                   bool all_shares_free) {
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("sharePathDialog"));
  dialog.setWindowTitle(QObject::tr("Shared Directory Path Properties"));

  auto* all =
      Named(new QRadioButton(QObject::tr("&Retrieve all shares matching specified type:")),
            "retrieveAllShares", QObject::tr("Retrieve all shares matching specified type"));
  all->setEnabled(all_shares_free || entry.AllShares());
  if (!all->isEnabled()) all->setToolTip(QObject::tr("Another path entry retrieves all shares."));
  auto* normal = Named(new QCheckBox(QObject::tr("&Normal shares")), "normalShares",
                       QObject::tr("Normal shares"));
  auto* hidden = Named(new QCheckBox(QObject::tr("&Hidden shares (names ending in $)")),
                       "hiddenShares", QObject::tr("Hidden shares"));
  auto* admin = Named(new QCheckBox(QObject::tr("A&dministrative shares (C$, D$, ...)")),
                      "adminShares", QObject::tr("Administrative shares"));
  normal->setChecked(kinds.normal);
  hidden->setChecked(kinds.hidden);
  admin->setChecked(kinds.admin);
  auto* specified = Named(new QRadioButton(QObject::tr("&Use specified shared directory path(s):")),
                          "useSpecifiedPaths", QObject::tr("Use specified shared directory paths"));
  auto* paths = Named(new QLineEdit(entry.AllShares() ? QString() : ToQString(entry.paths)),
                      "sharePaths", QObject::tr("Shared directory paths"));
  // ":" separates the template's entries.
  paths->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^:]*")), paths));
  auto* source = new QButtonGroup(&dialog);
  source->addButton(all);
  source->addButton(specified);
  (entry.AllShares() ? all : specified)->setChecked(true);

  auto* scan = new QGroupBox(QObject::tr("Scan"));
  auto* top = Named(new QRadioButton(QObject::tr("&Top level only")), "scanTopLevel",
                    QObject::tr("Top level only"));
  auto* every = Named(new QRadioButton(QObject::tr("A&ll subdirectories")), "scanAllLevels",
                      QObject::tr("All subdirectories"));
  auto* some = Named(new QRadioButton(QObject::tr("Num&ber of levels:")), "scanLevels",
                     QObject::tr("Number of levels"));
  auto* levels = Named(new QSpinBox, "scanLevelCount", QObject::tr("Number of levels"));
  levels->setRange(0, kMaxScanLevels);
  levels->setValue(entry.option == ScanOption::kLevels ? entry.levels : kMinScanLevels);
  auto* options = new QButtonGroup(&dialog);
  options->addButton(top, static_cast<int>(ScanOption::kTopLevel));
  options->addButton(every, static_cast<int>(ScanOption::kAllLevels));
  options->addButton(some, static_cast<int>(ScanOption::kLevels));
  options->button(static_cast<int>(entry.option))->setChecked(true);
  auto* scan_layout = new QGridLayout(scan);
  scan_layout->addWidget(top, 0, 0, 1, 2);
  scan_layout->addWidget(every, 1, 0, 1, 2);
  scan_layout->addWidget(some, 2, 0);
  scan_layout->addWidget(levels, 2, 1);
  scan_layout->addWidget(
      Hint(QObject::tr("The shared directory itself counts as the first level.")), 3, 0, 1, 2);

  auto* buttons = OkCancel(dialog);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(all);
  auto* kinds_layout = new QVBoxLayout;
  kinds_layout->setContentsMargins(24, 0, 0, 0);
  kinds_layout->addWidget(normal);
  kinds_layout->addWidget(hidden);
  kinds_layout->addWidget(admin);
  layout->addLayout(kinds_layout);
  layout->addWidget(specified);
  auto* paths_layout = new QVBoxLayout;
  paths_layout->setContentsMargins(24, 0, 0, 0);
  paths_layout->addWidget(paths);
  paths_layout->addWidget(Hint(QObject::tr(
      "A share name or share\\folder; several separated by |. A * in a share name matches "
      "every share it fits.")));
  layout->addLayout(paths_layout);
  layout->addWidget(scan);
  layout->addWidget(buttons);

  auto read = [&] {
    SharePathEntry edited;
    edited.paths = all->isChecked() ? std::string(kAllSharesPath) : ToUtf8(paths->text());
    edited.option = static_cast<ScanOption>(options->checkedId());
    edited.levels = edited.option == ScanOption::kLevels ? levels->value() : 0;
    return edited;
  };
  auto read_kinds = [&] {
    return ShareKinds{normal->isChecked(), hidden->isChecked(), admin->isChecked()};
  };
  auto update = [&] {
    for (QCheckBox* box : {normal, hidden, admin}) box->setEnabled(all->isChecked());
    paths->setEnabled(specified->isChecked());
    levels->setEnabled(some->isChecked());
    buttons->button(QDialogButtonBox::Ok)
        ->setEnabled(all->isChecked() || !paths->text().trimmed().isEmpty());
  };
  QObject::connect(all, &QRadioButton::toggled, &dialog, update);
  QObject::connect(some, &QRadioButton::toggled, &dialog, update);
  QObject::connect(paths, &QLineEdit::textChanged, &dialog, update);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
    if (Acceptable(&dialog, read(), read_kinds())) dialog.accept();
  });
  update();
  dialog.resize(480, dialog.sizeHint().height());
  if (dialog.exec() != QDialog::Accepted) return false;
  entry = read();
  if (entry.AllShares()) kinds = read_kinds();
  return true;
}

bool EditFileFilter(QWidget* parent, std::string& filter) {
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("fileFilterDialog"));
  dialog.setWindowTitle(QObject::tr("File Properties"));
  auto* text =
      Named(new QLineEdit(ToQString(filter)), "fileFilter", QObject::tr("File name filter"));
  auto* label = new QLabel(QObject::tr("File name &filter:"));
  label->setBuddy(text);
  auto* buttons = OkCancel(dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  auto update = [&] {
    buttons->button(QDialogButtonBox::Ok)->setEnabled(!text->text().trimmed().isEmpty());
  };
  QObject::connect(text, &QLineEdit::textChanged, &dialog, update);
  update();
  auto* layout = new QVBoxLayout(&dialog);
  auto* row = new QHBoxLayout;
  row->addWidget(label);
  row->addWidget(text, 1);
  layout->addLayout(row);
  layout->addWidget(
      Hint(QObject::tr("* matches any run of characters, ? any one character; "
                       "several filters separated by | (*.doc|sales*.*).")));
  layout->addWidget(buttons);
  dialog.resize(420, dialog.sizeHint().height());
  if (dialog.exec() != QDialog::Accepted) return false;
  filter = ToUtf8(text->text());
  return true;
}

}  // namespace tabulon::ui
