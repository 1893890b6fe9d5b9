#pragma once
// The template list of a template page (Registry, Active Directory, WMI,
// Files and Directories): the templates of the kind's file with check boxes
// ticked for those the configuration runs, New..., Properties... and
// Delete. Nothing is written until the sheet closes with OK (Save); the
// editors write their templates when they close with OK.
#include <QWidget>
#include <string>
#include <string_view>

#include "engine/template_kinds.h"
#include "ui/sheet_context.h"

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace tabulon::ui {

class TemplateListPanel : public QWidget {
  Q_OBJECT
 public:
  TemplateListPanel(const SheetContext& context, TemplateKind kind, QWidget* parent = nullptr);

  // Writes the ticked names to the kind's list key of [Templates] and
  // removes the templates marked for deletion from the template file.
  void Save();

 private:
  // Lists the file again; a name already shown keeps its tick and its
  // deletion mark, another is ticked when the configuration's list has it.
  void Refresh();
  void NewTemplate();
  void EditCurrent();
  void DeleteCurrent();
  void UpdateButtons();
  QListWidgetItem* Find(const std::string& name) const;
  // Whether the editor's "Enabled" of the template is on.
  bool TemplateEnabled(const std::string& name) const;

  const SheetContext& context_;
  TemplateKind kind_;
  std::string file_;
  // Whether the file could be listed: when not, Save leaves the
  // configuration's list as it was rather than emptying it.
  bool listed_ = false;
  QListWidget* list_;
  QLabel* failure_;
  QPushButton* properties_;
  QPushButton* delete_;
};

// Whether a [Templates] list names `name`: ";" + NAME + ";" found in
// ";" + LIST + ";", without regard to case.
bool TemplateListNames(std::string_view list, std::string_view name);

}  // namespace tabulon::ui
