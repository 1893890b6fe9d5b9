#pragma once
// The list of configurations of the configuration search folder, used to
// open one, to manage them (assign an object file, delete) and to choose the
// one Copy From copies.
#include <QDialog>
#include <string>
#include <vector>

#include "ui/configuration_naming.h"
#include "ui/window_context.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace tabulon::ui {

enum class ConfigurationListMode { kOpen, kManage, kCopy };

class ConfigurationListDialog : public QDialog {
  Q_OBJECT
 public:
  ConfigurationListDialog(WindowContext& context, ConfigurationListMode mode,
                          QWidget* parent = nullptr);
  // The selected configuration; empty name and path when there is none.
  ListedConfiguration Selected() const;
  // An assignment, a deletion or the properties touched the active
  // configuration.
  bool active_configuration_changed() const { return active_changed_; }

 private:
  void Refill();
  void UpdateDefaultButton();
  void UpdateFolder();
  void BrowseFolder();
  void ShowEnabledExports();
  // The overview of the selected configuration.
  void ShowProperties();
  void AssignTo();
  void DeleteSelected();

  WindowContext& context_;
  ConfigurationListMode mode_;
  std::vector<ListedConfiguration> listed_;
  QLineEdit* folder_;
  QListWidget* configurations_;
  QListWidget* enabled_exports_;
  QPushButton* default_button_;
  bool active_changed_ = false;
};

}  // namespace tabulon::ui
