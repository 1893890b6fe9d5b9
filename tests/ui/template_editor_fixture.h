#pragma once
// What the template editor tests share: a configuration and its template
// files in a fresh data folder, the editors' context over them, and
// answering the dialogs an editor opens one inside the other.
#include <QAbstractButton>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <string>

#include "tests/ui/configuration_test_fixture.h"
#include "ui/sheet_context.h"
#include "ui/template_editor.h"

namespace tabulon::testing {

class TemplateEditorTest : public ConfigurationTest {
 protected:
  TemplateEditorTest() : sheet_{context_->profile, DataFile("edit.ini"), context_->locations} {}

  ui::TemplateEdit Edit(TemplateKind kind, const std::string& name) const {
    return {nullptr, &sheet_, kind, sheet_.TemplateFile(kind), name};
  }

  template <typename T = QWidget>
  static T* Child(QWidget* parent, const char* name) {
    T* child = parent->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  static void SetText(QWidget* parent, const char* name, const char* text) {
    if (auto* edit = Child<QLineEdit>(parent, name)) edit->setText(QString::fromUtf8(text));
  }
  static QPushButton* Ok(QWidget* dialog) {
    auto* buttons = dialog->findChild<QDialogButtonBox*>();
    EXPECT_NE(buttons, nullptr);
    return buttons ? buttons->button(QDialogButtonBox::Ok) : nullptr;
  }
  // Clicks `button`, which opens a dialog, after arranging for `answer` to
  // be called with that dialog.
  static void Opening(QAbstractButton* button, std::function<void(QWidget*)> answer) {
    if (button == nullptr) return;
    WhenModal(std::move(answer));
    button->click();
  }
  // Presses `button` on the next message box and keeps its text.
  static void AnswerBox(QMessageBox::StandardButton button, std::string& text) {
    WhenModal([button, &text](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      if (box == nullptr) return;
      text = box->text().toStdString();
      box->button(button)->click();
    });
  }

  ui::SheetContext sheet_;
};

}  // namespace tabulon::testing
