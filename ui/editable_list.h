#pragma once
// A list the template editors edit item by item: a label, the list, and
// Add, Edit and Remove buttons, optionally Up and Down (disabled at the
// list's ends). Double-click and Enter edit the current item. What an item
// holds and how it is edited is the owner's: `edit` fills an item (a new
// one for Add, which is only added when `edit` says yes).
#include <QWidget>
#include <functional>

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace tabulon::ui {

struct EditableListLabels {
  QString list;  // above the list, with its mnemonic
  QString add;
  QString edit;
  QString remove;
  QString up;  // empty: the list has no order buttons
  QString down;
};

class EditableList : public QWidget {
 public:
  using Edit = std::function<bool(QListWidgetItem& item, bool is_new)>;

  // The list is named `object_name`, its buttons after it: "...Add",
  // "...Edit", "...Remove", "...Up", "...Down".
  EditableList(const QString& object_name, const EditableListLabels& labels, Edit edit,
               QWidget* parent = nullptr);

  QListWidget* list() const { return list_; }
  // Appends an item showing `text`.
  QListWidgetItem* Append(const QString& text);
  // Every item's text, or the text the owner keeps in `role`.
  QStringList Texts(int role = Qt::DisplayRole) const;
  // Buttons follow the current item; call after changing the list.
  void UpdateButtons();

 private:
  void Add();
  void EditCurrent();
  void RemoveCurrent();
  void Move(int by);

  Edit edit_;
  QListWidget* list_;
  QPushButton* edit_button_;
  QPushButton* remove_button_;
  QPushButton* up_ = nullptr;
  QPushButton* down_ = nullptr;
};

}  // namespace tabulon::ui
