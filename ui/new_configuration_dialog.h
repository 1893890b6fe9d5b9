#pragma once
// "Create New Export Configuration Template": a name, a file name and an
// object file name, optionally copied from an existing configuration.
#include <QDialog>
#include <string>

#include "ui/window_context.h"

class QLineEdit;

namespace tabulon::ui {

class NewConfigurationDialog : public QDialog {
  Q_OBJECT
 public:
  explicit NewConfigurationDialog(WindowContext& context, QWidget* parent = nullptr);
  // The configuration written by OK; empty before.
  const std::string& created_path() const { return created_; }

  void accept() override;

 private:
  void BrowseObjectFile();
  void CopyFrom();

  WindowContext& context_;
  QLineEdit* name_;
  QLineEdit* file_name_;
  QLineEdit* object_file_;
  std::string copy_from_;
  std::string created_;
};

}  // namespace tabulon::ui
