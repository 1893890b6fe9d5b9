// PLACEHOLDER (skeleton): replaced by the WMI and directory editors lane.
#include "ui/template_editor.h"

namespace tabulon::ui {
bool EditWmiTemplate(const TemplateEdit&, std::string&) {
  return false;
}
}  // namespace tabulon::ui
