#pragma once
// "Assign Object File": the object files of the object-file search folder,
// with the objects of the selected one as a tree. The caller decides what
// the chosen file becomes (a configuration's ObjectFile, or the New
// dialog's object file name).
#include <QDialog>
#include <string>

#include "ui/window_context.h"

class QListWidget;
class QTreeWidget;

namespace tabulon::ui {

class AssignObjectFileDialog : public QDialog {
  Q_OBJECT
 public:
  AssignObjectFileDialog(WindowContext& context, const std::string& configuration_name,
                         QWidget* parent = nullptr);
  // The full path of the selected file; empty when there is none.
  std::string SelectedPath() const;

 private:
  void ShowSample();

  std::vector<std::string> paths_;
  QListWidget* files_;
  QTreeWidget* sample_;
};

}  // namespace tabulon::ui
