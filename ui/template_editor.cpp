#include "ui/template_editor.h"

namespace tabulon::ui {

bool EditTemplate(const TemplateEdit& edit, std::string& saved_name) {
  switch (edit.kind) {
    case TemplateKind::kRegistry:
      return EditRegistryTemplate(edit, saved_name);
    case TemplateKind::kFile:
      return EditFileTemplate(edit, saved_name);
    case TemplateKind::kWmi:
      return EditWmiTemplate(edit, saved_name);
    case TemplateKind::kDirectory:
      return EditDirectoryQuery(edit, saved_name);
    case TemplateKind::kDirectorySchema:
      break;
  }
  return false;
}

}  // namespace tabulon::ui
