#include "tools/screenshots/window_shot.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace tabulon::screenshots {
namespace {

constexpr int kOpenTimeoutMs = 10000;
// Long enough for the first paint of a window on a slow X server.
constexpr int kPaintMs = 300;

QSet<QWidget*> VisibleTopLevels() {
  QSet<QWidget*> shown;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible()) shown.insert(widget);
  }
  return shown;
}

QWidget* NewTopLevel(const QSet<QWidget*>& before) {
  if (QWidget* modal = QApplication::activeModalWidget(); modal && !before.contains(modal)) {
    return modal;
  }
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && !before.contains(widget) && widget->isWindow() &&
        widget->windowType() != Qt::ToolTip && widget->windowType() != Qt::Popup) {
      return widget;
    }
  }
  return nullptr;
}

void Close(QWidget* window) {
  if (auto* dialog = qobject_cast<QDialog*>(window)) {
    dialog->reject();
  } else {
    window->close();
  }
}

}  // namespace

bool ShootWindow(QWidget* window, const QString& path) {
  if (!QTest::qWaitForWindowExposed(window, kOpenTimeoutMs)) {
    std::fprintf(stderr, "screenshots: %s: the window was never shown\n", qPrintable(path));
    return false;
  }
  QTest::qWait(kPaintMs);
  const QPixmap picture = window->screen()->grabWindow(window->winId());
  if (picture.isNull() || !picture.save(path, "PNG")) {
    std::fprintf(stderr, "screenshots: %s: cannot grab or save the window\n", qPrintable(path));
    return false;
  }
  std::printf("screenshots: %s (%dx%d)\n", qPrintable(path), picture.width(), picture.height());
  return true;
}

bool ShootDialog(const QString& path, const std::function<void()>& open,
                 const std::function<bool(QWidget*)>& inside) {
  const QSet<QWidget*> before = VisibleTopLevels();
  bool done = false;
  bool shot = false;
  // The dialog may run its own event loop inside `open`: look for it from a
  // timer, which that loop serves too.
  QTimer::singleShot(0, [&] {
    QWidget* window = nullptr;
    if (!QTest::qWaitFor([&] { return (window = NewTopLevel(before)) != nullptr; },
                         kOpenTimeoutMs)) {
      std::fprintf(stderr, "screenshots: %s: no window opened\n", qPrintable(path));
    } else if (auto* box = qobject_cast<QMessageBox*>(window);
               box && window->objectName() == QStringLiteral("messageBox")) {
      std::fprintf(stderr, "screenshots: %s: a message opened instead: %s\n", qPrintable(path),
                   qPrintable(box->text()));
      Close(window);
    } else {
      shot = ShootWindow(window, path) && (!inside || inside(window));
      Close(window);
    }
    done = true;
  });
  open();
  return QTest::qWaitFor([&] { return done; }, 2 * kOpenTimeoutMs) && shot;
}

}  // namespace tabulon::screenshots
