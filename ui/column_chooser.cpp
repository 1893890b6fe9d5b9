// PLACEHOLDER (skeleton): replaced by the options lane.
#include "ui/column_chooser.h"

namespace tabulon::ui {
bool ChooseColumns(QWidget*, std::vector<ColumnChoice>&) {
  return false;
}
}  // namespace tabulon::ui
