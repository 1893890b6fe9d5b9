// PLACEHOLDER (skeleton): replaced by its lane.
#include "tools/screenshots/editor_shots.h"

namespace tabulon::screenshots {
bool ShootConfigurationOverview(ui::MainWindow&, const QDir&) {
  return true;
}
}  // namespace tabulon::screenshots
