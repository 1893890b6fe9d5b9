// Pictures of the window for the documentation and for CI: the main window
// after a run of the sample configuration, and every dialog its commands
// open. Runs on a real X server (scripts/screenshots starts one), so that
// the pictures are what a display shows; fails when a window does not open.
//   window_screenshots [OUTPUT_FOLDER]     default: build/screenshots
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "run/run.h"
#include "tools/screenshots/editor_shots.h"
#include "tools/screenshots/sample_copy.h"
#include "tools/screenshots/window_shot.h"
#include "ui/icons.h"
#include "ui/main_window.h"
#include "ui/progress_list.h"
#include "ui/window_context.h"

namespace tabulon::screenshots {
namespace {

using ui::Command;
using ui::MainWindow;

constexpr int kRunTimeoutMs = 300000;
constexpr int kGiveUpMs = 480000;

// In an Object Properties dialog: the type `code` chosen, then its Browse
// button's dialog.
bool ShootBrowse(QWidget* properties, std::uint32_t code, const QString& path) {
  auto* type = properties->findChild<QComboBox*>(QStringLiteral("objectTypeCombo"));
  auto* browse = properties->findChild<QPushButton*>(QStringLiteral("browseButton"));
  const int index = type ? type->findData(code) : -1;
  if (index < 0 || browse == nullptr) {
    std::fprintf(stderr, "screenshots: %s: no object type %u or Browse button\n", qPrintable(path),
                 code);
    return false;
  }
  type->setCurrentIndex(index);
  return ShootDialog(path, [browse] { browse->click(); });
}

struct Shot {
  const char* file;
  Command command;
  // Pictures of the dialogs this one opens.
  std::function<bool(QWidget* dialog, const QDir& out)> inside;
};

// Every dialog the window's commands open, in menu order; the
// configuration editors have their own pictures (editor_shots.h).
std::vector<Shot> Shots() {
  return {
      {"new-configuration.png", Command::kNewConfiguration, {}},
      {"open-configuration.png", Command::kOpenConfiguration, {}},
      {"assign-object-file.png", Command::kAssignObjectFile, {}},
      {"manage-configurations.png", Command::kManageConfigurations, {}},
      {"import-quoll-object-file.png", Command::kImportQuollObjectFile, {}},
      {"import-object-file.png", Command::kImportObjectFile, {}},
      {"object-properties.png", Command::kObjectProperties, {}},
      {"new-object.png", Command::kNewObject,
       [](QWidget* dialog, const QDir& out) {
         // 101: a directory domain, 114: a container, 102: a directory user.
         return ShootBrowse(dialog, 101, out.filePath(QStringLiteral("domain-browser.png"))) &&
                ShootBrowse(dialog, 114, out.filePath(QStringLiteral("find-container.png"))) &&
                ShootBrowse(dialog, 102, out.filePath(QStringLiteral("directory-object.png")));
       }},
      {"global-settings.png", Command::kGlobalSettings, {}},
      {"copy-messages.png", Command::kCopyMessages, {}},
      {"view-exported-files.png", Command::kViewExportedFiles, {}},
      {"about.png", Command::kAbout, {}},
  };
}

// Starts the sample run from the window and waits for its end. What the
// run shows meanwhile is pictured and answered: a question No, a message
// by closing it, the produced files at the end by closing them. The sample
// run shows no message; one that does fails.
bool RunSample(MainWindow& window, const QDir& out) {
  bool finished = false;
  QObject::connect(&window, &MainWindow::runFinished, [&finished] { finished = true; });
  int shown = 0;
  bool failed = false;
  // A timer, because a message box runs its own event loop.
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    // The sample asks to see its files when the run ends.
    if (modal != nullptr && modal->objectName() == QStringLiteral("exportedFilesDialog")) {
      answer.stop();
      ShootWindow(modal, out.filePath(QStringLiteral("exported-files-after-run.png")));
      modal->close();
      answer.start();
      return;
    }
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (box == nullptr) return;
    answer.stop();
    const QString path = out.filePath(QStringLiteral("run-message-%1.png").arg(++shown));
    ShootWindow(box, path);
    std::fprintf(stderr, "screenshots: the run showed: %s\n", qPrintable(box->text()));
    if (box->objectName() != QStringLiteral("questionBox")) failed = true;
    if (QAbstractButton* no = box->button(QMessageBox::No)) {
      no->click();
    } else {
      box->reject();
    }
    answer.start();
  });
  answer.start(200);
  window.StartExport();
  if (!QTest::qWaitFor([&] { return finished; }, kRunTimeoutMs)) {
    std::fprintf(stderr, "screenshots: the sample run did not end\n");
    return false;
  }
  return !failed;
}

void SelectFirstObject(MainWindow& window) {
  auto* objects = window.findChild<QTreeView*>(QStringLiteral("objectView"));
  if (objects && objects->model() && objects->model()->rowCount() > 0) {
    objects->setCurrentIndex(objects->model()->index(0, 0));
  }
}

int Shoot(const QDir& out, const QString& home) {
  const auto locations =
      run::PrepareLocations(QCoreApplication::applicationFilePath().toStdString());
  ui::WindowContext context(locations);
  MainWindow window(context);
  window.resize(1200, 760);
  window.show();
  const QString configuration = QDir(home).filePath(QStringLiteral("examples/sample.ini"));
  if (!window.OpenConfiguration(configuration.toStdString()) || !RunSample(window, out) ||
      !ShootWindow(&window, out.filePath(QStringLiteral("main-window.png")))) {
    return 1;
  }
  int failures = 0;
  SelectFirstObject(window);
  window.progress_list().selectAll();
  for (const Shot& shot : Shots()) {
    QAction* action = window.action(shot.command);
    const QString path = out.filePath(QString::fromLatin1(shot.file));
    std::function<bool(QWidget*)> inside;
    if (shot.inside) inside = [&](QWidget* dialog) { return shot.inside(dialog, out); };
    if (!action->isEnabled()) {
      std::fprintf(stderr, "screenshots: %s: the command is disabled\n", qPrintable(path));
      ++failures;
    } else if (!ShootDialog(
                   path, [action] { action->trigger(); }, inside)) {
      ++failures;
    }
  }
  for (auto* shoot : {ShootConfigurationOverview, ShootSheetPages, ShootRegistryAndFileEditors,
                      ShootWmiAndDirectoryEditors}) {
    if (!shoot(window, out)) ++failures;
  }
  return failures == 0 ? 0 : 1;
}

}  // namespace
}  // namespace tabulon::screenshots

int main(int argc, char** argv) {
  using namespace tabulon::screenshots;
  const QString out_folder = QDir::current().absoluteFilePath(
      argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("build/screenshots"));
  QTemporaryDir home;
  QString error;
  if (!home.isValid() || !CopySample(QStringLiteral(TABULON_SOURCE_DIR), home.path(), error)) {
    std::fprintf(stderr, "screenshots: %s\n",
                 qPrintable(error.isEmpty() ? home.errorString() : error));
    return 1;
  }
  // Settings, recent files and the data directory live in the copy too.
  const QString config = QDir(home.path()).filePath(QStringLiteral("config"));
  const QString data = QDir(home.path()).filePath(QStringLiteral("data-home"));
  QDir().mkpath(config);
  QDir().mkpath(data);
  qputenv("XDG_CONFIG_HOME", config.toUtf8());
  qputenv("XDG_DATA_HOME", data.toUtf8());
  QApplication application(argc, argv);
  QApplication::setWindowIcon(tabulon::ui::ProgramIcon());
  // The sample's relative paths are relative to the folder it runs from.
  QDir::setCurrent(home.path());
  if (!QDir().mkpath(out_folder)) {
    std::fprintf(stderr, "screenshots: cannot make %s\n", qPrintable(out_folder));
    return 1;
  }
  // Nothing here may wait forever: a window nobody answers ends the program.
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [] {
    QWidget* stuck = QApplication::activeModalWidget();
    std::fprintf(stderr, "screenshots: gave up after %d s; open: %s \"%s\"\n", kGiveUpMs / 1000,
                 stuck ? qPrintable(stuck->objectName()) : "no modal window",
                 stuck ? qPrintable(stuck->windowTitle()) : "");
    std::_Exit(1);
  });
  watchdog.start(kGiveUpMs);
  return Shoot(QDir(out_folder), home.path());
}
