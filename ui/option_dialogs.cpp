#include "ui/option_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <vector>

#include "engine/config_key_table.h"
#include "engine/messages.h"
#include "ui/configuration_widgets.h"
#include "ui/file_field.h"

namespace tabulon::ui {
namespace {

// A dialog with OK and Cancel under what the caller puts in `layout`.
struct OptionsDialog {
  OptionsDialog(QWidget* parent, const char* object_name, const QString& title)
      : dialog(parent), layout(new QVBoxLayout(&dialog)) {
    dialog.setObjectName(QString::fromLatin1(object_name));
    dialog.setWindowTitle(title);
  }
  bool Run() {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->setObjectName("buttons");
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    return dialog.exec() == QDialog::Accepted;
  }
  QCheckBox* Check(const char* object_name, const QString& text, std::int32_t value) {
    auto* box = Named(new QCheckBox(text), object_name, text);
    box->setChecked(value != 0);
    return box;
  }

  QDialog dialog;
  QVBoxLayout* layout;
};

// A switch as stored: a box left as it was keeps the value read (any
// value but 0 is on), a changed one is written as 1 or 0.
std::int32_t Kept(std::int32_t read, const QCheckBox* box) {
  return (read != 0) == box->isChecked() ? read : (box->isChecked() ? 1 : 0);
}

// The computer filter's boxes by what they select, in the table's order.
struct FilterGroup {
  const char* title;
  std::size_t first;
  std::size_t count;
};
constexpr FilterGroup kFilterGroups[] = {
    {"Computer Type", 0, 6},
    {"Function", 6, 8},
    {"Browser State", 14, 4},
};
static_assert(6 + 8 + 4 == key_table::kComputerFilterFlags.size());

// A box whose bits are only partly set shows as partly checked; left so,
// those bits stay as they were.
Qt::CheckState FilterState(std::int32_t value, std::uint32_t bits) {
  const std::uint32_t set = static_cast<std::uint32_t>(value) & bits;
  if (set == 0) return Qt::Unchecked;
  return set == bits ? Qt::Checked : Qt::PartiallyChecked;
}

}  // namespace

bool EditGroupOptions(QWidget* parent, GroupOptions& options) {
  OptionsDialog d(parent, "groupOptionsDialog", QObject::tr("Set Group Export Options"));
  QCheckBox* members =
      d.Check("exportGroupMembers", QObject::tr("Export Group &Members"), options.members);
  QCheckBox* indirect =
      d.Check("includeIndirectMembers", QObject::tr("Include &Indirect (nested) Group Members"),
              options.indirect_members);
  // Indirect members are members too: without members there are none.
  indirect->setEnabled(members->isChecked());
  QObject::connect(members, &QCheckBox::toggled, indirect, &QWidget::setEnabled);
  d.layout->addWidget(members);
  d.layout->addWidget(indirect);
  if (!d.Run()) return false;
  options.members = Kept(options.members, members);
  options.indirect_members = Kept(options.indirect_members, indirect);
  return true;
}

bool EditControllerOptions(QWidget* parent, AccountKind kind, ControllerOptions& options) {
  const bool users = kind == AccountKind::kUser;
  OptionsDialog d(
      parent, users ? "userOptionsDialog" : "computerOptionsDialog",
      users ? QObject::tr("Set User Export Options") : QObject::tr("Set Computer Export Options"));
  QCheckBox* all = d.Check(
      "allDomainControllers",
      users ? QObject::tr("&Enable exporting user information from all domain controllers")
            : QObject::tr("&Enable exporting computer information from all domain controllers"),
      options.all_controllers);
  const auto& choices = key_table::kLastLogonChoices;
  auto* combined = Named(new QRadioButton(ToQString(choices[0].text)), "combinedLogon",
                         ToQString(choices[0].text));
  auto* each = Named(new QRadioButton(ToQString(choices[1].text)), "eachController",
                     ToQString(choices[1].text));
  // Every value but the combined one stands for each controller.
  const bool is_combined = options.last_logon_type == choices[0].value;
  (is_combined ? combined : each)->setChecked(true);
  if (!is_combined && options.last_logon_type != choices[1].value) {
    each->setToolTip(QObject::tr("The configuration holds %1, which a run takes as this choice.")
                         .arg(options.last_logon_type));
  }
  QCheckBox* skip = d.Check("skipListedControllers",
                            QObject::tr("&Skip any domain controllers listed in computer 'skip' "
                                        "file as specified under 'General' export settings."),
                            options.skip_listed);
  QCheckBox* groups = d.Check("groupAssignments",
                              users ? QObject::tr("Export User &Group Assignments")
                                    : QObject::tr("Export Computer &Group Assignments"),
                              options.group_assignments);
  // The choices under the first box apply only when it is checked.
  auto* under = new QWidget;
  auto* under_layout = new QVBoxLayout(under);
  under_layout->setContentsMargins(24, 0, 0, 0);
  for (QWidget* w : std::initializer_list<QWidget*>{combined, each, skip}) {
    under_layout->addWidget(w);
  }
  under->setEnabled(all->isChecked());
  QObject::connect(all, &QCheckBox::toggled, under, &QWidget::setEnabled);
  d.layout->addWidget(all);
  d.layout->addWidget(under);
  d.layout->addWidget(groups);
  if (!d.Run()) return false;
  options.all_controllers = Kept(options.all_controllers, all);
  if (combined->isChecked() != is_combined) {
    options.last_logon_type = combined->isChecked() ? choices[0].value : choices[1].value;
  }
  options.skip_listed = Kept(options.skip_listed, skip);
  options.group_assignments = Kept(options.group_assignments, groups);
  return true;
}

bool EditComputerFilter(QWidget* parent, std::int32_t& filtering_type) {
  OptionsDialog d(parent, "computerFilterDialog", QObject::tr("Configure Computer Filter"));
  const auto& flags = key_table::kComputerFilterFlags;
  std::vector<QCheckBox*> boxes;
  auto* groups = new QHBoxLayout;
  for (const FilterGroup& group : kFilterGroups) {
    auto* box = new QGroupBox(QObject::tr(group.title));
    auto* box_layout = new QVBoxLayout(box);
    for (std::size_t i = group.first; i < group.first + group.count; ++i) {
      const QString text = ToQString(flags[i].text);
      // Named by its bits: "filterFlag8" is the PDC box.
      const QByteArray name = QStringLiteral("filterFlag%1").arg(flags[i].value, 0, 16).toLatin1();
      auto* check = Named(new QCheckBox(text), name.constData(), text);
      check->setCheckState(FilterState(filtering_type, static_cast<std::uint32_t>(flags[i].value)));
      // A user's click sets or clears the box; only the value read shows it partly set.
      QObject::connect(check, &QCheckBox::clicked, check, [check] { check->setTristate(false); });
      box_layout->addWidget(check);
      boxes.push_back(check);
    }
    box_layout->addStretch();
    groups->addWidget(box);
  }
  d.layout->addLayout(groups);
  auto* all_row = new QHBoxLayout;
  auto* enable_all = Named(new QPushButton(QObject::tr("&Enable All")), "enableAllButton",
                           QObject::tr("Enable All"));
  auto* disable_all = Named(new QPushButton(QObject::tr("D&isable All")), "disableAllButton",
                            QObject::tr("Disable All"));
  for (QPushButton* button : {enable_all, disable_all}) {
    button->setAutoDefault(false);
    all_row->addWidget(button);
  }
  all_row->addStretch();
  d.layout->addLayout(all_row);
  auto set_all = [&boxes](Qt::CheckState state) {
    for (QCheckBox* box : boxes) {
      box->setTristate(false);
      box->setCheckState(state);
    }
  };
  QObject::connect(enable_all, &QPushButton::clicked, &d.dialog, [&] { set_all(Qt::Checked); });
  QObject::connect(disable_all, &QPushButton::clicked, &d.dialog, [&] { set_all(Qt::Unchecked); });
  if (!d.Run()) return false;
  auto value = static_cast<std::uint32_t>(filtering_type);
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const auto bits = static_cast<std::uint32_t>(flags[i].value);
    if (boxes[i]->checkState() == Qt::Checked) value |= bits;
    if (boxes[i]->checkState() == Qt::Unchecked) value &= ~bits;
  }
  filtering_type = static_cast<std::int32_t>(value);
  return true;
}

bool EditPhotoOptions(QWidget* parent, PhotoOptions& options) {
  OptionsDialog d(parent, "photoOptionsDialog",
                  QObject::tr("Active Directory Photo Export Options"));
  auto* form = new QFormLayout;
  auto* folder =
      new FileField(FileFieldKind::kFolder, "photoOutputPath", QObject::tr("Photo Output Folder"),
                    nullptr, ToQString(MessageText(kMsgPhotoDirectory)));
  folder->setText(ToQString(options.output_path));
  folder->edit()->setPlaceholderText(QObject::tr("the folder of the query's output file"));
  auto* extension = Named(new QLineEdit(ToQString(options.extension)), "photoFileExtension",
                          QObject::tr("Photo File Extension"));
  form->addRow(QObject::tr("Photo Output &Folder"), folder);
  form->addRow(QObject::tr("Photo File &Extension"), extension);
  d.layout->addLayout(form);
  d.dialog.resize(480, d.dialog.sizeHint().height());
  if (!d.Run()) return false;
  options.output_path = ToUtf8(folder->text());
  options.extension = ToUtf8(extension->text());
  return true;
}

}  // namespace tabulon::ui
