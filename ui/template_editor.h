#pragma once
// Opening the editor of a template of any kind: the registry, WMI,
// file/directory and directory query editors each write every key of their
// kind to the template's section when closed with OK.
#include <string>

#include <vector>

#include "engine/template_kinds.h"
#include "ui/sheet_context.h"
#include "ui/template_store.h"

class QWidget;

namespace tabulon::ui {

struct TemplateEdit {
  QWidget* parent = nullptr;
  const SheetContext* context = nullptr;
  TemplateKind kind = TemplateKind::kRegistry;
  std::string file;  // the template file (SheetContext::TemplateFile)
  std::string name;  // the template to edit; empty for a new one
};

// True when closed with OK; `saved_name` is then the template's name (a new
// one's, or a renamed one's).
bool EditTemplate(const TemplateEdit& edit, std::string& saved_name);

// Stores an editor's template under `name` (StoreTemplate: changed keys
// only, a rename moves it, a taken name is refused); false after saying
// why in a message box over `dialog`.
bool StoreEditedTemplate(QWidget* dialog, const TemplateEdit& edit, const std::string& name,
                         const std::vector<TemplateValue>& values);

// One per kind, in the kind's own files.
bool EditRegistryTemplate(const TemplateEdit& edit, std::string& saved_name);
bool EditFileTemplate(const TemplateEdit& edit, std::string& saved_name);
bool EditWmiTemplate(const TemplateEdit& edit, std::string& saved_name);
bool EditDirectoryQuery(const TemplateEdit& edit, std::string& saved_name);

}  // namespace tabulon::ui
