#include "ui/window.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/utf8_path.h"
#include "ui/config_properties_dialog.h"
#include "ui/configuration_commands.h"
#include "ui/icons.h"
#include "ui/main_window.h"
#include "ui/window_context.h"

namespace tabulon::ui {
namespace {

constexpr int kExitNoWindow = 2;

// Qt aborts the program when its platform cannot start: a window on X11 or
// Wayland needs a display, and the offscreen or another chosen platform
// needs nothing of that.
bool DisplayAvailable() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform != nullptr && *platform != '\0') return true;
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}

}  // namespace

int RunWindow(int argc, char** argv, const CommandLine& command, const run::Locations& locations) {
  if (!DisplayAvailable()) {
    std::fputs(
        "tabulon: the window needs a display (DISPLAY or WAYLAND_DISPLAY is not set); run an "
        "export without it with /CONFIG=<configuration.ini>.\n",
        stderr);
    return kExitNoWindow;
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName("Tabulon");
  QApplication::setOrganizationName("Wendrock");
  // The installed desktop entry: its icon and name for the running window.
  QApplication::setDesktopFileName("org.wendrock.tabulon");
  QApplication::setWindowIcon(ProgramIcon());

  // The settings store's folder may not exist yet on a first start; without
  // it the last configuration and the recent files would not be kept.
  if (const std::string folder = UserConfigDirectory(); !folder.empty()) {
    std::error_code ignored;
    std::filesystem::create_directories(platform::Utf8Path(folder), ignored);
  }
  WindowContext context(locations);
  if (command.action == CommandLine::Action::kConfigProperties) {
    return RunConfigurationProperties(context, command.configuration);
  }
  context.handover = command.handover;
  MainWindow window(context);
  window.SetSuppressMessages(command.suppress_messages);

  // The configuration the command line names, else the last one opened.
  const std::string name = command.configuration.empty() ? context.settings.Get("LastConfiguration")
                                                         : command.configuration;
  bool opened =
      !name.empty() && window.OpenConfiguration(ResolveConfigurationName(locations, name));
  if (!opened && !command.quoll_object_file.empty()) {
    const std::string converted =
        ConvertQuollObjectFile(&window, context, command.quoll_object_file);
    opened = !converted.empty() && window.OpenConfiguration(converted);
  }
  if (!opened) window.NewEmptyConfiguration();
  window.show();
  // The sibling tool handed over its objects: export them at once.
  if (command.handover) QTimer::singleShot(0, &window, &MainWindow::StartExport);
  return QApplication::exec();
}

}  // namespace tabulon::ui
