#include "ui/template_editor.h"

#include "ui/message_box.h"

namespace tabulon::ui {

bool StoreEditedTemplate(QWidget* dialog, const TemplateEdit& edit, const std::string& name,
                         const std::vector<TemplateValue>& values) {
  const TemplateTarget target{edit.kind, edit.file, edit.name, name};
  const TemplateStored stored = StoreTemplate(edit.context->profile, target, values);
  if (stored == TemplateStored::kStored) return true;
  ShowMessage(dialog, TemplateStoreFailure(stored, target));
  return false;
}

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
