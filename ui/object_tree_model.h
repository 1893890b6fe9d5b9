#pragma once
// The object list as a two-level item model: top-level objects, and the
// children of groupings. It holds the list exactly as the object file
// writer takes it, so what the tree shows is what gets saved. Every edit
// goes through the editing functions below, which first ask `may_edit`
// and report each change with `changed()`.
#include <QAbstractItemModel>
#include <functional>
#include <vector>

#include "engine/object_file.h"

namespace tabulon::ui {

class ObjectTreeModel : public QAbstractItemModel {
  Q_OBJECT
 public:
  explicit ObjectTreeModel(QObject* parent = nullptr);

  // Asked before every edit (check box clicks included); false refuses it.
  void SetEditGuard(std::function<bool()> may_edit) { may_edit_ = std::move(may_edit); }

  void SetItems(std::vector<ObjectListItem> items);
  const std::vector<ObjectListItem>& items() const { return items_; }
  // Null for an invalid index.
  const ObjectListItem* ItemAt(const QModelIndex& index) const;

  // The item text: the display name, with the comment in parentheses.
  static QString ItemText(const ObjectListItem& item);

  // The editing functions return the index of the item they leave
  // selected (invalid when nothing changed).
  // After `selected` in its parent, as a grouping's last child when
  // `selected` is a grouping, at the end of the top level for a grouping
  // or when nothing is selected.
  QModelIndex Insert(const QModelIndex& selected, ObjectListItem item);
  QModelIndex Replace(const QModelIndex& index, ObjectListItem item);
  bool Remove(const QModelIndex& index);
  // Within the parent; `step` is -1 (up) or +1 (down).
  QModelIndex Move(const QModelIndex& index, int step);
  bool HasSibling(const QModelIndex& index, int step) const;
  bool EnableAll();
  bool DisableAll();
  bool ToggleActive(const QModelIndex& index);
  // Drops `source` on `target` (invalid: released over no item): after a
  // non-grouping target in its parent, as the last child of a grouping
  // target, at the end of the top level without one; a grouping on a
  // grouping stays. `copy` leaves the source where it is.
  QModelIndex Drop(const QModelIndex& source, const QModelIndex& target, bool copy);

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  Qt::DropActions supportedDragActions() const override;
  Qt::DropActions supportedDropActions() const override;

 signals:
  // One edit of the list.
  void changed();

 private:
  // Where an item sits: its top-level row, and its row among the grouping's
  // children (-1 for a top-level item).
  struct Position {
    int top = -1;
    int child = -1;
  };
  static Position PositionOf(const QModelIndex& index);
  QModelIndex IndexOf(Position at) const;
  std::vector<ObjectListItem>& SiblingsOf(Position at);
  bool Allowed() const { return !may_edit_ || may_edit_(); }
  // Reports new active flags everywhere, and the change.
  void FlagsChanged();
  // Replaces the list's structure and reports the change.
  void Restructure(const std::function<void()>& edit);

  std::vector<ObjectListItem> items_;
  std::function<bool()> may_edit_;
};

}  // namespace tabulon::ui
