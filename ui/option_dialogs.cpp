// PLACEHOLDER (skeleton): replaced by the options lane.
#include "ui/option_dialogs.h"

namespace tabulon::ui {
bool EditGroupOptions(QWidget*, GroupOptions&) {
  return false;
}
bool EditControllerOptions(QWidget*, AccountKind, ControllerOptions&) {
  return false;
}
bool EditComputerFilter(QWidget*, std::int32_t&) {
  return false;
}
bool EditPhotoOptions(QWidget*, PhotoOptions&) {
  return false;
}
}  // namespace tabulon::ui
