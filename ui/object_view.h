#pragma once
// The left pane: the object list of the active configuration as a tree
// with check boxes, and the commands that edit it. Edits are saved to the
// object file before a run, before another configuration opens, and at
// once on the change that makes more than ten since the last save.
#include <QTreeView>
#include <string>
#include <vector>

#include "platform/status.h"
#include "ui/object_import.h"
#include "ui/object_properties_dialog.h"
#include "ui/object_tree_model.h"
#include "ui/window_context.h"

class QMenu;

namespace tabulon::ui {

// More changes than this since the last save save the list at once.
inline constexpr int kChangesBeforeSave = 10;

class ObjectView : public QTreeView {
  Q_OBJECT
 public:
  explicit ObjectView(WindowContext& context, QWidget* parent = nullptr);

  // Shows the object list of `object_file` (empty list when the file is
  // missing); the status of reading it.
  win::Status Load(const std::string& object_file);
  const std::string& object_file() const { return object_file_; }
  bool modified() const { return modified_; }
  int change_count() const { return changes_; }
  // Writes the list when modified (with the writer's backup copy); false
  // after showing why it could not.
  bool SaveIfModified();

  // The Edit menu's commands; each refuses with 59505 while context.handover
  // is set.
  void NewObject();
  void EditProperties();
  void MoveUp();
  void MoveDown();
  void EnableAll();
  void DisableAll();
  void DeleteObject();
  bool HasSelection() const;
  bool CanMoveUp() const;
  bool CanMoveDown() const;
  // An import's objects appended (one change).
  void AppendImported(const std::vector<ImportedObject>& objects);

  ObjectTreeModel& model_of_objects() { return model_; }
  // Replaces the Object Properties dialog's browse buttons (tests).
  void SetBrowse(ObjectPropertiesDialog::Browse browse) { browse_ = std::move(browse); }

 signals:
  // Selection or list changed: the window updates its Edit commands.
  void commandStateChanged();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void startDrag(Qt::DropActions actions) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // False after showing 59505 while the hand-over object file is listed.
  bool MayEdit();
  void Changed();
  void Select(const QModelIndex& index);
  // The object the dialog ends with, or false when cancelled.
  bool RunPropertiesDialog(ObjectListItem& object);

  WindowContext& context_;
  ObjectTreeModel model_;
  std::string object_file_;
  bool modified_ = false;
  int changes_ = 0;
  QModelIndex drag_source_;
  ObjectPropertiesDialog::Browse browse_;
};

}  // namespace tabulon::ui
