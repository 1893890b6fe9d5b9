#pragma once
// Enter in a field that has its own action (a search, an add) runs that
// action rather than closing the dialog: while the field has the focus its
// button is the dialog's default, otherwise OK is.
#include <QApplication>
#include <QPushButton>
#include <QWidget>

namespace tabulon::ui {

inline void DefaultWhileFocused(QWidget* field, QPushButton* action, QPushButton* ok) {
  action->setAutoDefault(false);
  QObject::connect(qApp, &QApplication::focusChanged, action,
                   [field, action, ok](QWidget* /*old*/, QWidget* now) {
                     const bool in_field = now == field;
                     action->setDefault(in_field);
                     ok->setDefault(!in_field);
                   });
}

}  // namespace tabulon::ui
