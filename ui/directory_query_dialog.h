#pragma once
// "Directory Query Properties": a directory query's output, scope, object
// type filter with its options, and the attributes it exports, chosen from
// the categories of the directory schema file or typed.
#include <QDialog>

#include "exporters/templates/template_files.h"
#include "ui/directory_query.h"
#include "ui/template_editor.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace tabulon::ui {

class FileField;

class DirectoryQueryDialog : public QDialog {
  Q_OBJECT
 public:
  DirectoryQueryDialog(const TemplateEdit& edit, QWidget* parent);

  const std::string& saved_name() const { return saved_name_; }
  void accept() override;

 private:
  void BuildLayout();
  void UpdateButtons();
  void ShowCategory();
  void SetOptions();
  void AddAttributes();
  // Adds one name, asking for "samaccountname" before a "tse_" name.
  void AddAttribute(const QString& name);
  void MoveCurrent(int step);
  void DeleteCurrent();
  std::vector<std::string> Attributes() const;
  // The filter the list shows; the stored one when it shows none.
  std::int32_t Filter() const;

  TemplateEdit edit_;
  DirectoryQuery query_;  // as read, with the options the dialogs set
  std::vector<SchemaLine> schema_;
  std::string saved_name_;

  QCheckBox* enabled_;
  QLineEdit* name_;
  FileField* output_;
  QRadioButton* one_level_;
  QRadioButton* subtree_;
  QListWidget* filters_;
  QPushButton* options_;
  QListWidget* attributes_;
  QPushButton* up_;
  QPushButton* down_;
  QPushButton* delete_;
  QPushButton* add_;
  QComboBox* category_;
  QListWidget* available_;
  QLineEdit* other_;
  QPushButton* ok_;
};

}  // namespace tabulon::ui
