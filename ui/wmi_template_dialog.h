#pragma once
// "WMI Export Template Properties", with the class browser and the
// "WMI 'Where Clause' Editor" it opens.
#include <QDialog>
#include <memory>

#include "ui/template_editor.h"
#include "ui/wmi_browse.h"
#include "ui/wmi_template.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace tabulon::ui {

class FileField;

class WmiTemplateDialog : public QDialog {
  Q_OBJECT
 public:
  WmiTemplateDialog(const TemplateEdit& edit, QWidget* parent);

  const std::string& saved_name() const { return saved_name_; }
  void accept() override;

 private:
  void BuildLayout();
  void UpdateButtons();
  void ShowTimeoutMarker();
  // The reference computer's browser, made on first use.
  WmiBrowser& Browser();
  void BrowseClasses();
  // Lists the properties of the class in the class field; false when they
  // could not be listed (the user was told why).
  bool ShowProperties();
  void ShowDescription();
  void EditWhere();
  void AddProperties();
  void AddSymbol();
  void MoveCurrent(int step);
  void RemoveCurrent();
  WmiTemplate Collected() const;

  TemplateEdit edit_;
  WmiTemplate original_;
  std::string saved_name_;
  std::unique_ptr<WmiBrowser> browser_;
  std::string class_description_;
  std::vector<WmiPropertyInfo> class_properties_;

  QCheckBox* enabled_;
  QLineEdit* name_;
  FileField* output_;
  QComboBox* class_;
  QPushButton* browse_classes_;
  QPushButton* show_properties_;
  QLineEdit* where_;
  QPushButton* edit_where_;
  QSpinBox* timeout_;
  QLabel* timeout_marker_;
  QListWidget* query_properties_;
  QPushButton* up_;
  QPushButton* down_;
  QPushButton* remove_;
  QPushButton* symbol_;
  QPushButton* add_;
  QListWidget* class_properties_list_;
  QPlainTextEdit* description_;
  QPushButton* ok_;
};

// Chooses a class of the reference computer: all its classes, narrowed by
// "Find Class:". Empty when cancelled.
std::string ChooseWmiClass(QWidget* parent, WmiBrowser& browser, const std::string& current);

// The condition of a query, with the class's properties to insert; false
// when cancelled.
bool EditWhereClause(QWidget* parent, const std::vector<WmiPropertyInfo>& properties,
                     std::string& where);

}  // namespace tabulon::ui
