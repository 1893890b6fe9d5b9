// PLACEHOLDER (skeleton): replaced by the registry and file editors lane.
#include "ui/template_editor.h"

namespace tabulon::ui {
bool EditRegistryTemplate(const TemplateEdit&, std::string&) {
  return false;
}
}  // namespace tabulon::ui
