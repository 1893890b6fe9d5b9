#include "ui/sheet_context.h"

#include "ui/main_window.h"

namespace tabulon::ui {

std::string SheetContext::TemplateFile(TemplateKind kind) const {
  const TemplateKindRow& row = TemplateKindInfo(kind);
  std::string name = config().ReadText("General", row.general_key, "");
  if (name.empty()) name = row.default_file;
  return ResolveConfigurationName(locations, name);
}

}  // namespace tabulon::ui
