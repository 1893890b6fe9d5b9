#pragma once
// Small helpers the configuration dialogs share: UTF-8 text to and from Qt,
// and naming a widget for tests and screen readers in one call.
#include <QString>
#include <QWidget>
#include <string>
#include <string_view>

#include "ui/qt_text.h"

namespace tabulon::ui {

// The accessible name is the control's visible label without its mnemonic.
template <typename Widget>
Widget* Named(Widget* widget, const char* object_name, const QString& accessible_name) {
  widget->setObjectName(QString::fromLatin1(object_name));
  QString spoken = accessible_name;
  widget->setAccessibleName(spoken.remove(QLatin1Char('&')));
  return widget;
}

}  // namespace tabulon::ui
