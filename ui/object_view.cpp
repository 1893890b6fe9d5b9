#include "ui/object_view.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

#include "engine/messages.h"
#include "ui/message_box.h"

namespace tabulon::ui {
namespace {

// The title of the box that says the object file could not be written.
constexpr std::string_view kObjectFileTitle = "Object File";

}  // namespace

ObjectView::ObjectView(WindowContext& context, QWidget* parent)
    : QTreeView(parent), context_(context) {
  setObjectName("objectView");
  setAccessibleName(QStringLiteral("Objects"));
  setHeaderHidden(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setExpandsOnDoubleClick(false);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(false);
  setDragDropMode(QAbstractItemView::DragDrop);
  setModel(&model_);
  model_.SetEditGuard([this] { return MayEdit(); });
  connect(&model_, &ObjectTreeModel::changed, this, &ObjectView::Changed);
  connect(&model_, &QAbstractItemModel::modelReset, this, &QTreeView::expandAll);
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
          &ObjectView::commandStateChanged);
  connect(this, &QTreeView::doubleClicked, this, [this] { EditProperties(); });
}

win::Status ObjectView::Load(const std::string& object_file) {
  std::vector<ObjectListItem> items;
  const win::Status status = ReadObjectList(object_file, items);
  if (status != win::ERROR_SUCCESS) items.clear();
  object_file_ = object_file;
  model_.SetItems(std::move(items));
  modified_ = false;
  changes_ = 0;
  emit commandStateChanged();
  return status;
}

bool ObjectView::SaveIfModified() {
  if (!modified_) return true;
  const win::Status status = WriteObjectFile(object_file_, model_.items());
  if (status != win::ERROR_SUCCESS) {
    ShowOpenFailure(this, kObjectFileTitle, object_file_, status);
    return false;
  }
  modified_ = false;
  changes_ = 0;
  return true;
}

bool ObjectView::MayEdit() {
  if (!context_.handover) return true;
  ShowMessage(this, MessageText(kMsgQuollObjectFileReadOnly));
  return false;
}

void ObjectView::Changed() {
  modified_ = true;
  if (++changes_ > kChangesBeforeSave) {
    // A save that fails is tried again ten changes later, not on every one.
    changes_ = 0;
    SaveIfModified();
  }
  emit commandStateChanged();
}

void ObjectView::Select(const QModelIndex& index) {
  if (!index.isValid()) return;
  setCurrentIndex(index);
  scrollTo(index);
}

bool ObjectView::HasSelection() const {
  return model_.ItemAt(currentIndex()) != nullptr;
}
bool ObjectView::CanMoveUp() const {
  return model_.HasSibling(currentIndex(), -1);
}
bool ObjectView::CanMoveDown() const {
  return model_.HasSibling(currentIndex(), +1);
}

bool ObjectView::RunPropertiesDialog(ObjectListItem& object) {
  ObjectPropertiesDialog dialog(this, context_, object, browse_);
  if (dialog.exec() != QDialog::Accepted) return false;
  object = dialog.Result();
  return true;
}

void ObjectView::NewObject() {
  if (!MayEdit()) return;
  const QModelIndex selected = currentIndex();
  ObjectListItem object;
  object.type = kObjectWorkstation;
  if (const ObjectListItem* at = model_.ItemAt(selected)) {
    if (at->type != kObjectGrouping) {
      object.type = at->type;
    } else if (!at->children.empty()) {
      object.type = at->children.front().type;
    }
  }
  if (!RunPropertiesDialog(object)) return;
  Select(model_.Insert(selected, std::move(object)));
}

void ObjectView::EditProperties() {
  if (!MayEdit()) return;
  const QModelIndex selected = currentIndex();
  const ObjectListItem* at = model_.ItemAt(selected);
  if (at == nullptr) return;
  ObjectListItem object = *at;
  if (!RunPropertiesDialog(object)) return;
  Select(model_.Replace(selected, std::move(object)));
}

void ObjectView::MoveUp() {
  if (!MayEdit()) return;
  Select(model_.Move(currentIndex(), -1));
}

void ObjectView::MoveDown() {
  if (!MayEdit()) return;
  Select(model_.Move(currentIndex(), +1));
}

void ObjectView::EnableAll() {
  if (MayEdit()) model_.EnableAll();
}

void ObjectView::DisableAll() {
  if (MayEdit()) model_.DisableAll();
}

void ObjectView::DeleteObject() {
  if (!MayEdit() || !HasSelection()) return;
  if (!AskYesNo(this, MessageText(kMsgConfirmDeleteObject))) return;
  model_.Remove(currentIndex());
}

void ObjectView::AppendImported(const std::vector<ImportedObject>& objects) {
  if (objects.empty() || !MayEdit()) return;
  std::vector<ObjectListItem> items = model_.items();
  for (const ImportedObject& imported : objects) {
    if (imported.child_of_last_top_level && !items.empty()) {
      items.back().children.push_back(imported.item);
    } else {
      items.push_back(imported.item);
    }
  }
  model_.SetItems(std::move(items));
  Changed();
}

void ObjectView::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Insert:
      NewObject();
      return;
    case Qt::Key_Delete:
      DeleteObject();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      EditProperties();
      return;
    case Qt::Key_Space:
      model_.ToggleActive(currentIndex());
      return;
    default:
      QTreeView::keyPressEvent(event);
  }
}

void ObjectView::contextMenuEvent(QContextMenuEvent* event) {
  if (const QModelIndex at = indexAt(event->pos()); at.isValid()) setCurrentIndex(at);
  QMenu menu(this);
  menu.setObjectName("objectContextMenu");
  QAction* properties =
      menu.addAction(QStringLiteral("Properties..."), this, &ObjectView::EditProperties);
  QFont bold = properties->font();
  bold.setBold(true);
  properties->setFont(bold);
  properties->setEnabled(HasSelection());
  menu.setDefaultAction(properties);
  menu.addAction(QStringLiteral("New..."), this, &ObjectView::NewObject);
  menu.addAction(QStringLiteral("Move Up"), this, &ObjectView::MoveUp)->setEnabled(CanMoveUp());
  menu.addAction(QStringLiteral("Move Down"), this, &ObjectView::MoveDown)
      ->setEnabled(CanMoveDown());
  menu.addAction(QStringLiteral("Delete"), this, &ObjectView::DeleteObject)
      ->setEnabled(HasSelection());
  menu.exec(event->globalPos());
}

void ObjectView::startDrag(Qt::DropActions /*actions*/) {
  const QModelIndex source = currentIndex();
  if (!source.isValid()) return;
  drag_source_ = source;
  auto* drag = new QDrag(this);
  drag->setMimeData(model_.mimeData({source}));
  // The drag image: the item as the tree draws it.
  drag->setPixmap(viewport()->grab(visualRect(source)));
  // The drop itself edits the list; whatever the action, nothing is
  // removed here afterwards.
  drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
  drag_source_ = {};
}

void ObjectView::dragEnterEvent(QDragEnterEvent* event) {
  if (event->source() != this) return event->ignore();
  event->acceptProposedAction();
}

void ObjectView::dragMoveEvent(QDragMoveEvent* event) {
  if (event->source() != this) return event->ignore();
  event->setDropAction(event->modifiers().testFlag(Qt::ControlModifier) ? Qt::CopyAction
                                                                        : Qt::MoveAction);
  event->accept();
}

void ObjectView::dropEvent(QDropEvent* event) {
  if (event->source() != this || !drag_source_.isValid()) return event->ignore();
  const bool copy = event->modifiers().testFlag(Qt::ControlModifier);
  Select(model_.Drop(drag_source_, indexAt(event->position().toPoint()), copy));
  event->setDropAction(copy ? Qt::CopyAction : Qt::MoveAction);
  event->accept();
}

}  // namespace tabulon::ui
