// PLACEHOLDER (skeleton): replaced by the registry and file editors lane.
#include "ui/template_list_panel.h"

namespace tabulon::ui {
TemplateListPanel::TemplateListPanel(const SheetContext& context, TemplateKind kind,
                                     QWidget* parent)
    : QWidget(parent), context_(context), kind_(kind) {}
void TemplateListPanel::Save() {}
}  // namespace tabulon::ui
