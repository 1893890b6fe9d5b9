#pragma once
// The template list of a template page (Registry, Active Directory, WMI,
// Files and Directories): the templates of the kind's file with check boxes
// ticked for those the configuration runs, New..., Properties... and
// Delete. Nothing is written until the sheet closes with OK (Save); the
// editors write their templates when they close with OK.
#include <QWidget>
#include <string>

#include "engine/template_kinds.h"
#include "ui/sheet_context.h"

namespace tabulon::ui {

class TemplateListPanel : public QWidget {
  Q_OBJECT
 public:
  TemplateListPanel(const SheetContext& context, TemplateKind kind, QWidget* parent = nullptr);

  // Writes the ticked names to the kind's list key of [Templates] and
  // removes the templates marked for deletion from the template file.
  void Save();

 private:
  const SheetContext& context_;
  TemplateKind kind_;
};

}  // namespace tabulon::ui
