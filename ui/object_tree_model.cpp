#include "ui/object_tree_model.h"

#include <utility>

#include "ui/icons.h"
#include "ui/qt_text.h"

namespace tabulon::ui {
namespace {

bool IsGrouping(const ObjectListItem& item) {
  return item.type == kObjectGrouping;
}

}  // namespace

ObjectTreeModel::ObjectTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

void ObjectTreeModel::SetItems(std::vector<ObjectListItem> items) {
  beginResetModel();
  items_ = std::move(items);
  endResetModel();
}

QString ObjectTreeModel::ItemText(const ObjectListItem& item) {
  if (item.comment.empty()) return ToQString(item.display_name);
  return ToQString(item.display_name + " (" + item.comment + ")");
}

ObjectTreeModel::Position ObjectTreeModel::PositionOf(const QModelIndex& index) {
  if (!index.isValid()) return {};
  // A child's internal id is its grouping's row + 1; a top-level item's is 0.
  const auto id = static_cast<int>(index.internalId());
  if (id == 0) return {index.row(), -1};
  return {id - 1, index.row()};
}

QModelIndex ObjectTreeModel::IndexOf(Position at) const {
  if (at.top < 0) return {};
  if (at.child < 0) return index(at.top, 0);
  return index(at.child, 0, index(at.top, 0));
}

std::vector<ObjectListItem>& ObjectTreeModel::SiblingsOf(Position at) {
  return at.child < 0 ? items_ : items_[static_cast<std::size_t>(at.top)].children;
}

const ObjectListItem* ObjectTreeModel::ItemAt(const QModelIndex& index) const {
  const Position at = PositionOf(index);
  if (at.top < 0 || static_cast<std::size_t>(at.top) >= items_.size()) return nullptr;
  const ObjectListItem& top = items_[static_cast<std::size_t>(at.top)];
  if (at.child < 0) return &top;
  if (static_cast<std::size_t>(at.child) >= top.children.size()) return nullptr;
  return &top.children[static_cast<std::size_t>(at.child)];
}

void ObjectTreeModel::Restructure(const std::function<void()>& edit) {
  beginResetModel();
  edit();
  endResetModel();
  emit changed();
}

QModelIndex ObjectTreeModel::Insert(const QModelIndex& selected, ObjectListItem item) {
  if (!Allowed()) return {};
  Position at = PositionOf(selected);
  Position placed;
  Restructure([&] {
    if (IsGrouping(item) || at.top < 0) {
      items_.push_back(std::move(item));
      placed = {static_cast<int>(items_.size()) - 1, -1};
    } else if (at.child < 0 && IsGrouping(items_[static_cast<std::size_t>(at.top)])) {
      auto& children = items_[static_cast<std::size_t>(at.top)].children;
      children.push_back(std::move(item));
      placed = {at.top, static_cast<int>(children.size()) - 1};
    } else {
      auto& siblings = SiblingsOf(at);
      const int row = (at.child < 0 ? at.top : at.child) + 1;
      siblings.insert(siblings.begin() + row, std::move(item));
      placed = at;
      (at.child < 0 ? placed.top : placed.child) = row;
    }
  });
  return IndexOf(placed);
}

QModelIndex ObjectTreeModel::Replace(const QModelIndex& index, ObjectListItem item) {
  const ObjectListItem* old = ItemAt(index);
  if (old == nullptr || !Allowed()) return {};
  const Position at = PositionOf(index);
  // A grouping that becomes another type gives its children to the top level
  // after it, where the file would put them without their grouping.
  if (IsGrouping(*old) && !IsGrouping(item) && !old->children.empty()) {
    Restructure([&] {
      auto children = std::move(items_[static_cast<std::size_t>(at.top)].children);
      item.children.clear();
      items_[static_cast<std::size_t>(at.top)] = std::move(item);
      items_.insert(items_.begin() + at.top + 1, std::make_move_iterator(children.begin()),
                    std::make_move_iterator(children.end()));
    });
    return IndexOf(at);
  }
  auto& target = SiblingsOf(at)[static_cast<std::size_t>(at.child < 0 ? at.top : at.child)];
  item.children = std::move(target.children);
  target = std::move(item);
  emit dataChanged(index, index);
  emit changed();
  return index;
}

bool ObjectTreeModel::Remove(const QModelIndex& index) {
  if (ItemAt(index) == nullptr || !Allowed()) return false;
  const Position at = PositionOf(index);
  Restructure([&] {
    auto& siblings = SiblingsOf(at);
    siblings.erase(siblings.begin() + (at.child < 0 ? at.top : at.child));
  });
  return true;
}

bool ObjectTreeModel::HasSibling(const QModelIndex& index, int step) const {
  if (ItemAt(index) == nullptr) return false;
  const int row = index.row() + step;
  return row >= 0 && row < rowCount(index.parent());
}

QModelIndex ObjectTreeModel::Move(const QModelIndex& index, int step) {
  if (!HasSibling(index, step) || !Allowed()) return {};
  Position at = PositionOf(index);
  int& row = at.child < 0 ? at.top : at.child;
  Restructure([&] {
    auto& siblings = SiblingsOf(at);
    const int other = row + step;  // a sibling: HasSibling said so
    std::swap(siblings[static_cast<std::size_t>(row)], siblings[static_cast<std::size_t>(other)]);
  });
  row += step;
  return IndexOf(at);
}

bool ObjectTreeModel::EnableAll() {
  if (!Allowed()) return false;
  for (ObjectListItem& item : items_) {
    item.active = true;
    for (ObjectListItem& child : item.children) child.active = true;
  }
  FlagsChanged();
  return true;
}

bool ObjectTreeModel::DisableAll() {
  if (!Allowed()) return false;
  // A grouping's children keep their flags: the grouping hides them.
  for (ObjectListItem& item : items_) item.active = false;
  FlagsChanged();
  return true;
}

void ObjectTreeModel::FlagsChanged() {
  const QList<int> roles = {Qt::CheckStateRole};
  if (!items_.empty()) {
    emit dataChanged(index(0, 0), index(rowCount() - 1, 0), roles);
    for (int row = 0; row < rowCount(); ++row) {
      const QModelIndex group = index(row, 0);
      const int children = rowCount(group);
      if (children > 0) emit dataChanged(index(0, 0, group), index(children - 1, 0, group), roles);
    }
  }
  emit changed();
}

bool ObjectTreeModel::ToggleActive(const QModelIndex& index) {
  const ObjectListItem* item = ItemAt(index);
  if (item == nullptr) return false;
  return setData(index, item->active ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

QModelIndex ObjectTreeModel::Drop(const QModelIndex& source, const QModelIndex& target, bool copy) {
  const ObjectListItem* dragged = ItemAt(source);
  if (dragged == nullptr || !Allowed()) return {};
  const ObjectListItem* onto = ItemAt(target);
  const Position from = PositionOf(source);
  Position to = PositionOf(target);
  // Groupings stay at the top level: one dropped on a grouping or on a
  // grouping's child does not move.
  if (IsGrouping(*dragged) && onto != nullptr && (IsGrouping(*onto) || to.child >= 0)) return {};
  if (!copy && onto == dragged) return {};
  ObjectListItem item = *dragged;
  Position placed;
  Restructure([&] {
    if (!copy) {
      auto& siblings = SiblingsOf(from);
      siblings.erase(siblings.begin() + (from.child < 0 ? from.top : from.child));
      // The target's position after the removal.
      if (from.child < 0 && to.top > from.top) --to.top;
      if (from.child >= 0 && to.top == from.top && to.child > from.child) --to.child;
    }
    if (onto == nullptr) {
      items_.push_back(std::move(item));
      placed = {static_cast<int>(items_.size()) - 1, -1};
    } else if (to.child < 0 && IsGrouping(items_[static_cast<std::size_t>(to.top)]) &&
               !IsGrouping(item)) {
      auto& children = items_[static_cast<std::size_t>(to.top)].children;
      children.push_back(std::move(item));
      placed = {to.top, static_cast<int>(children.size()) - 1};
    } else {
      auto& siblings = SiblingsOf(to);
      const int row = (to.child < 0 ? to.top : to.child) + 1;
      siblings.insert(siblings.begin() + row, std::move(item));
      placed = to;
      (to.child < 0 ? placed.top : placed.child) = row;
    }
  });
  return IndexOf(placed);
}

QModelIndex ObjectTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0) return {};
  if (!parent.isValid()) {
    if (static_cast<std::size_t>(row) >= items_.size()) return {};
    return createIndex(row, 0, quintptr{0});
  }
  const ObjectListItem* group = ItemAt(parent);
  if (group == nullptr || parent.internalId() != 0 ||
      static_cast<std::size_t>(row) >= group->children.size()) {
    return {};
  }
  return createIndex(row, 0, static_cast<quintptr>(parent.row()) + 1);
}

QModelIndex ObjectTreeModel::parent(const QModelIndex& child) const {
  if (!child.isValid() || child.internalId() == 0) return {};
  return createIndex(static_cast<int>(child.internalId()) - 1, 0, quintptr{0});
}

int ObjectTreeModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) return static_cast<int>(items_.size());
  if (parent.internalId() != 0) return 0;
  const ObjectListItem* item = ItemAt(parent);
  return item == nullptr ? 0 : static_cast<int>(item->children.size());
}

int ObjectTreeModel::columnCount(const QModelIndex& /*parent*/) const {
  return 1;
}

QVariant ObjectTreeModel::data(const QModelIndex& index, int role) const {
  const ObjectListItem* item = ItemAt(index);
  if (item == nullptr) return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
      return ItemText(*item);
    case Qt::DecorationRole:
      return ObjectTypeIcon(item->type);
    case Qt::CheckStateRole:
      return item->active ? Qt::Checked : Qt::Unchecked;
    default:
      return {};
  }
}

bool ObjectTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::CheckStateRole || ItemAt(index) == nullptr || !Allowed()) return false;
  const Position at = PositionOf(index);
  SiblingsOf(at)[static_cast<std::size_t>(at.child < 0 ? at.top : at.child)].active =
      value.toInt() == Qt::Checked;
  emit dataChanged(index, index, {Qt::CheckStateRole});
  emit changed();
  return true;
}

Qt::ItemFlags ObjectTreeModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::ItemIsDropEnabled;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
         Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
}

Qt::DropActions ObjectTreeModel::supportedDragActions() const {
  return Qt::MoveAction | Qt::CopyAction;
}

Qt::DropActions ObjectTreeModel::supportedDropActions() const {
  return Qt::MoveAction | Qt::CopyAction;
}

}  // namespace tabulon::ui
