// PLACEHOLDER (skeleton): replaced by the property sheet lane.
#include "ui/config_sheet.h"

namespace tabulon::ui {
bool EditConfiguration(QWidget*, const SheetContext&, std::uint32_t) {
  return false;
}
}  // namespace tabulon::ui
