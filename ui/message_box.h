#pragma once
// The program's message boxes: every text comes from the message table or
// the caller, the title is the program's unless a Part names one.
#include <string_view>

#include "platform/status.h"

class QWidget;

namespace tabulon::ui {

enum class MessageIcon { kInformation, kWarning, kStop };

void ShowMessage(QWidget* parent, std::string_view text, MessageIcon icon = MessageIcon::kStop,
                 std::string_view title = {});
// Yes/No; true for Yes.
bool AskYesNo(QWidget* parent, std::string_view text, std::string_view title = {});
// The open-failure message of the output files (59414) about the file
// `title` names ("Import File", "Quoll Object File"), followed by the
// system's reason, with `title` as the box's title as well.
void ShowOpenFailure(QWidget* parent, std::string_view title, std::string_view path,
                     win::Status status);

}  // namespace tabulon::ui
