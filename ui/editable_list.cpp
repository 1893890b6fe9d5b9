#include "ui/editable_list.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/configuration_widgets.h"
#include "ui/item_activation.h"

namespace tabulon::ui {
namespace {

QPushButton* Button(const QString& list_name, const char* suffix, const QString& label,
                    QVBoxLayout* column) {
  auto* button = Named(new QPushButton(label),
                       (list_name + QLatin1String(suffix)).toLatin1().constData(), label);
  // Enter in the dialog stays with its OK button.
  button->setAutoDefault(false);
  column->addWidget(button);
  return button;
}

}  // namespace

EditableList::EditableList(const QString& object_name, const EditableListLabels& labels, Edit edit,
                           QWidget* parent)
    : QWidget(parent), edit_(std::move(edit)), list_(new QListWidget) {
  Named(list_, object_name.toLatin1().constData(), labels.list);
  auto* label = new QLabel(labels.list);
  label->setBuddy(list_);
  auto* column = new QVBoxLayout;
  auto* add = Button(object_name, "Add", labels.add, column);
  edit_button_ = Button(object_name, "Edit", labels.edit, column);
  remove_button_ = Button(object_name, "Remove", labels.remove, column);
  if (!labels.up.isEmpty()) {
    up_ = Button(object_name, "Up", labels.up, column);
    down_ = Button(object_name, "Down", labels.down, column);
    connect(up_, &QPushButton::clicked, this, [this] { Move(-1); });
    connect(down_, &QPushButton::clicked, this, [this] { Move(1); });
  }
  column->addStretch(1);
  auto* row = new QHBoxLayout;
  row->addWidget(list_, 1);
  row->addLayout(column);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(label);
  layout->addLayout(row);
  setFocusProxy(list_);

  connect(add, &QPushButton::clicked, this, [this] { Add(); });
  connect(edit_button_, &QPushButton::clicked, this, [this] { EditCurrent(); });
  connect(remove_button_, &QPushButton::clicked, this, [this] { RemoveCurrent(); });
  connect(list_, &QListWidget::currentRowChanged, this, [this] { UpdateButtons(); });
  OpenItemsWith(list_, [this] { EditCurrent(); });
  UpdateButtons();
}

QListWidgetItem* EditableList::Append(const QString& text) {
  auto* item = new QListWidgetItem(text, list_);
  UpdateButtons();
  return item;
}

QStringList EditableList::Texts(int role) const {
  QStringList texts;
  for (int i = 0; i < list_->count(); ++i) texts << list_->item(i)->data(role).toString();
  return texts;
}

void EditableList::UpdateButtons() {
  const int row = list_->currentRow();
  const bool current = list_->currentItem() != nullptr;
  edit_button_->setEnabled(current);
  remove_button_->setEnabled(current);
  if (up_ != nullptr) {
    up_->setEnabled(current && row > 0);
    down_->setEnabled(current && row + 1 < list_->count());
  }
}

void EditableList::Add() {
  auto* item = new QListWidgetItem;
  if (!edit_(*item, true)) {
    delete item;
    return;
  }
  list_->addItem(item);
  list_->setCurrentItem(item);
  UpdateButtons();
}

void EditableList::EditCurrent() {
  if (QListWidgetItem* item = list_->currentItem()) edit_(*item, false);
}

void EditableList::RemoveCurrent() {
  delete list_->takeItem(list_->currentRow());
  UpdateButtons();
}

void EditableList::Move(int by) {
  const int row = list_->currentRow();
  const int to = row + by;
  if (row < 0 || to < 0 || to >= list_->count()) return;
  QListWidgetItem* item = list_->takeItem(row);
  list_->insertItem(to, item);
  list_->setCurrentRow(to);
  UpdateButtons();
}

}  // namespace tabulon::ui
