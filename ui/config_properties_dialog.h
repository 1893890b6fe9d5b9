#pragma once
// "Export Configuration Properties": the configuration's name, what it
// exports and what it could export, with Add and Delete between the two,
// the property sheet on an export's page and the file locations. Add,
// Delete, the sheet and the file locations write as they close; the name
// is written when the dialog closes, whichever way.
#include <QDialog>
#include <cstdint>
#include <string>

#include "ui/sheet_context.h"
#include "ui/window_context.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QTreeWidget;

namespace tabulon::ui {

class ConfigPropertiesDialog : public QDialog {
  Q_OBJECT
 public:
  ConfigPropertiesDialog(const SheetContext& context, QWidget* parent = nullptr);

  void done(int result) override;

 private:
  void Rebuild();
  void FillEnabled(const Configuration& configuration);
  void FillAvailable(const Configuration& configuration);
  void AddSelected();
  void DeleteSelected();
  // The export type of the selection of the list last used; none: page 0.
  std::uint32_t SelectedType() const;
  void OpenSheet(std::uint32_t export_type);
  void EditLocations();

  SheetContext context_;
  QLineEdit* name_;
  QLabel* enabled_label_;
  QListWidget* enabled_;
  QTreeWidget* available_;
  bool tree_last_used_ = false;
};

// Opens the overview for the context's configuration.
void EditConfigurationProperties(QWidget* parent, const SheetContext& context);

// "/CONFIG_PROP=": the overview alone for the configuration `name` (resolved
// as the program resolves configuration names). The exit status: 0 when
// it was shown and closed, 1 (after saying why) when the configuration
// cannot be opened.
int RunConfigurationProperties(WindowContext& context, const std::string& name);

}  // namespace tabulon::ui
