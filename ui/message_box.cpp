#include "ui/message_box.h"

#include <QMessageBox>
#include <QString>

#include "engine/error_text.h"
#include "engine/messages.h"
#include "ui/qt_text.h"

namespace tabulon::ui {
namespace {

constexpr std::string_view kProgramTitle = "Tabulon";

QMessageBox::Icon BoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kInformation:
      return QMessageBox::Information;
    case MessageIcon::kWarning:
      return QMessageBox::Warning;
    case MessageIcon::kStop:
      break;
  }
  return QMessageBox::Critical;
}

}  // namespace

void ShowMessage(QWidget* parent, std::string_view text, MessageIcon icon, std::string_view title) {
  QMessageBox box(BoxIcon(icon), ToQString(title.empty() ? kProgramTitle : title), ToQString(text),
                  QMessageBox::Ok, parent);
  box.setObjectName("messageBox");
  box.exec();
}

bool AskYesNo(QWidget* parent, std::string_view text, std::string_view title) {
  QMessageBox box(QMessageBox::Question, ToQString(title.empty() ? kProgramTitle : title),
                  ToQString(text), QMessageBox::Yes | QMessageBox::No, parent);
  box.setObjectName("questionBox");
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

void ShowOpenFailure(QWidget* parent, std::string_view title, std::string_view path,
                     win::Status status) {
  std::string text = FormatMessageId(kMsgUnableToOpenFile, {title, path});
  if (status != win::ERROR_SUCCESS) text += WindowsErrorText(status);
  ShowMessage(parent, text, MessageIcon::kStop, title);
}

}  // namespace tabulon::ui
