#include "ui/window.h"

#include <QApplication>
#include <QMainWindow>

#include "ui/icons.h"
#include "ui/window_context.h"

namespace tabulon::ui {

int RunWindow(int argc, char** argv, const CommandLine& /*command*/,
              const run::Locations& locations) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("Tabulon");
  QApplication::setOrganizationName("Wendrock");
  QApplication::setWindowIcon(ProgramIcon());
  WindowContext context(locations);
  QMainWindow window;
  window.setWindowTitle("Tabulon");
  window.show();
  return QApplication::exec();
}

}  // namespace tabulon::ui
