#pragma once
// "Tabulon Global Settings": the folders and extensions configurations and
// object files are looked for with.
#include <QDialog>
#include <vector>

#include "ui/window_context.h"

class QLineEdit;

namespace tabulon::ui {

class GlobalSettingsDialog : public QDialog {
  Q_OBJECT
 public:
  explicit GlobalSettingsDialog(WindowContext& context, QWidget* parent = nullptr);
  // Writes the four settings.
  void accept() override;

 private:
  WindowContext& context_;
  std::vector<QLineEdit*> fields_;  // in the order of the settings table
};

}  // namespace tabulon::ui
