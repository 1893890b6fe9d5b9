#include "ui/column_chooser.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "engine/catalogue.h"
#include "ui/column_choice.h"
#include "ui/configuration_widgets.h"

namespace tabulon::ui {
namespace {

constexpr int kColumnRole = Qt::UserRole;

class ColumnChooserDialog : public QDialog {
 public:
  ColumnChooserDialog(const std::vector<ColumnChoice>& choices, QWidget* parent) : QDialog(parent) {
    setObjectName("columnChooserDialog");
    setWindowTitle(tr("Configure Export Output Fields"));
    for (const ColumnChoice& choice : choices)
      models_.emplace_back(choice.export_type, choice.columns);

    auto* layout = new QVBoxLayout(this);
    auto* type_row = new QHBoxLayout;
    type_ = Named(new QComboBox, "exportTypeCombo", tr("Export Type"));
    for (const ColumnChoice& choice : choices) {
      type_->addItem(ToQString(ExportTypeInfo(choice.export_type).display_name));
    }
    type_->setEnabled(choices.size() > 1);
    auto* type_label = new QLabel(tr("E&xport Type"));
    type_label->setBuddy(type_);
    type_row->addWidget(type_label);
    type_row->addWidget(type_, 1);
    layout->addLayout(type_row);

    auto* grid = new QGridLayout;
    current_ = Named(new QListWidget, "currentFields", tr("Current Output Fields"));
    available_ = Named(new QListWidget, "availableFields", tr("Available Output Fields"));
    auto* current_label = new QLabel(tr("&Current Output Fields"));
    current_label->setBuddy(current_);
    auto* available_label = new QLabel(tr("A&vailable Output Fields"));
    available_label->setBuddy(available_);
    grid->addWidget(current_label, 0, 0);
    grid->addWidget(available_label, 0, 2);
    grid->addWidget(current_, 1, 0);
    grid->addWidget(available_, 1, 2);

    // The current list is on the left: "<<<" brings a field into it.
    auto* add = Named(new QPushButton(tr("<<<")), "addFieldButton", tr("Add field"));
    auto* remove = Named(new QPushButton(tr(">>>")), "removeFieldButton", tr("Remove field"));
    auto* up = Named(new QPushButton(tr("&Up")), "upButton", tr("Up"));
    auto* down = Named(new QPushButton(tr("&Down")), "downButton", tr("Down"));
    add->setToolTip(tr("Add the selected available field to the output"));
    remove->setToolTip(tr("Remove the selected field from the output"));
    auto* middle = new QVBoxLayout;
    middle->addStretch();
    for (QPushButton* button : {add, remove, up, down}) {
      button->setAutoDefault(false);
      middle->addWidget(button);
    }
    middle->addStretch();
    grid->addLayout(middle, 1, 1);
    layout->addLayout(grid, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close | QDialogButtonBox::Cancel);
    buttons->setObjectName("buttons");
    QPushButton* close = buttons->button(QDialogButtonBox::Close);
    close->setObjectName("closeButton");
    close->setDefault(true);
    // Close keeps the choice, so it is the accepting button here.
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(type_, &QComboBox::currentIndexChanged, this, [this] { Fill(0, 0); });
    connect(add, &QPushButton::clicked, this, [this] { AddSelected(); });
    connect(remove, &QPushButton::clicked, this, [this] { RemoveSelected(); });
    // A double-click moves a field; Enter stays the dialog's Close.
    connect(available_, &QListWidget::itemDoubleClicked, this, [this] { AddSelected(); });
    connect(current_, &QListWidget::itemDoubleClicked, this, [this] { RemoveSelected(); });
    connect(up, &QPushButton::clicked, this, [this] { Move(-1); });
    connect(down, &QPushButton::clicked, this, [this] { Move(1); });
    QWidget* const order[] = {type_,      current_, add,
                              remove,     up,       down,
                              available_, close,    buttons->button(QDialogButtonBox::Cancel)};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
    resize(620, 420);
    Fill(0, 0);
  }

  void Store(std::vector<ColumnChoice>& choices) const {
    for (std::size_t i = 0; i < choices.size(); ++i) choices[i].columns = models_[i].Text();
  }

 private:
  ColumnChoiceModel& model() { return models_[static_cast<std::size_t>(type_->currentIndex())]; }

  QListWidgetItem* Item(std::uint32_t column, QListWidget* list) {
    const std::uint32_t type = model().export_type();
    auto* item = new QListWidgetItem(ToQString(ColumnTitle(type, column)), list);
    item->setData(kColumnRole, column);
    if (!KnownColumn(type, column)) {
      item->setIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
      item->setToolTip(
          tr("The type has no column %1: a run writes it as an empty column.").arg(column));
    }
    return item;
  }

  // Shows the model, with the given rows selected.
  void Fill(int current_row, int available_row) {
    current_->clear();
    available_->clear();
    for (const ChosenColumn& c : model().chosen()) Item(c.column, current_);
    for (std::uint32_t column : model().Available()) Item(column, available_);
    current_->setCurrentRow(std::min(current_row, current_->count() - 1));
    available_->setCurrentRow(std::min(available_row, available_->count() - 1));
  }

  void AddSelected() {
    QListWidgetItem* item = available_->currentItem();
    if (item == nullptr) return;
    // After the selected current field, else at the end.
    const int after = current_->currentRow();
    const std::size_t at =
        model().Add(item->data(kColumnRole).toUInt(),
                    after < 0 ? model().chosen().size() : static_cast<std::size_t>(after) + 1);
    Fill(static_cast<int>(at), available_->currentRow());
  }

  void RemoveSelected() {
    const int row = current_->currentRow();
    if (row < 0) return;
    model().Remove(static_cast<std::size_t>(row));
    Fill(row, available_->currentRow());
  }

  void Move(int step) {
    const int row = current_->currentRow();
    if (row < 0) return;
    const auto index = static_cast<std::size_t>(row);
    if (step < 0 ? model().MoveUp(index) : model().MoveDown(index)) {
      Fill(row + step, available_->currentRow());
    }
  }

  std::vector<ColumnChoiceModel> models_;
  QComboBox* type_;
  QListWidget* current_;
  QListWidget* available_;
};

}  // namespace

bool ChooseColumns(QWidget* parent, std::vector<ColumnChoice>& choices) {
  if (choices.empty()) return false;
  ColumnChooserDialog dialog(choices, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  dialog.Store(choices);
  return true;
}

}  // namespace tabulon::ui
