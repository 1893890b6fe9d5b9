#pragma once
// Taking pictures of windows as the X server shows them.
#include <QString>
#include <functional>

class QWidget;

namespace tabulon::screenshots {

// Waits until `window` is shown and painted, then saves what the screen
// shows of it as the PNG `path`. False, after saying why on standard error,
// when it could not.
bool ShootWindow(QWidget* window, const QString& path);

// Calls `open` (which may block in a dialog's own event loop), waits for
// the new top-level window it opens, saves its picture as `path`, runs
// `inside` on it (further pictures of what it opens) and closes it. False
// when no window opened, the program's message box (a failure) opened
// instead, or `inside` failed.
bool ShootDialog(const QString& path, const std::function<void()>& open,
                 const std::function<bool(QWidget*)>& inside = {});

}  // namespace tabulon::screenshots
