#pragma once
// The Object Properties dialog: one object of the object list (type,
// display name, comment, path, active flag), with a browse button for the
// directory types.
#include <QDialog>
#include <functional>
#include <string>

#include "engine/object_file.h"
#include "ui/window_context.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLineEdit;
class QPushButton;

namespace tabulon::ui {

// "ldap://" (exactly, in lower case) at the start becomes "LDAP://".
std::string WithUpperCaseLdapScheme(std::string path);
// Whether the Path field of `object_type` has a browse button.
bool HasBrowseButton(std::uint32_t object_type);

class ObjectPropertiesDialog : public QDialog {
  Q_OBJECT
 public:
  // What the browse button asks: the new path, empty when cancelled.
  using Browse = std::function<std::string(QWidget* parent, std::uint32_t object_type)>;

  // `object`'s children are kept as they are; the default browse opens the
  // directory dialogs of `context`'s configuration.
  ObjectPropertiesDialog(QWidget* parent, WindowContext& context, const ObjectListItem& object,
                         Browse browse = {});

  // The object as the dialog ends it; the path rewritten as OK does.
  ObjectListItem Result() const;
  void accept() override;

 private:
  void TypeChanged();
  void UpdateOk();
  std::uint32_t SelectedType() const;

  ObjectListItem object_;
  Browse browse_;
  QComboBox* type_;
  QLineEdit* name_;
  QLineEdit* comment_;
  QLineEdit* path_;
  QPushButton* browse_button_;
  QCheckBox* active_;
  QDialogButtonBox* buttons_;
  QString typed_path_;  // what Path held before a grouping's "n/a"
};

}  // namespace tabulon::ui
