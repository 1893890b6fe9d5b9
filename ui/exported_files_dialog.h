#pragma once
// "View Exported Files": the files of the last run, opened with the user's
// open command ("%E%" stands for the file) or the desktop's default
// application. "Open With..." asks for a command for the selected files
// (there is no one chooser every Linux desktop offers) and remembers it as
// the open command.
#include <QDialog>
#include <string>
#include <string_view>
#include <vector>

#include "engine/file_record.h"
#include "ui/window_context.h"

class QLineEdit;
class QTreeWidget;

namespace tabulon::ui {

inline constexpr std::string_view kFileToken = "%E%";

// `command` with every "%E%" replaced by `path`. The command is split like a
// shell line afterwards: a path with spaces needs quotes around "%E%".
std::string OpenCommandLine(std::string_view command, std::string_view path);
// Starts `command_line` as a process of its own; false when it could not be
// started (an empty line, a program that is not there).
bool StartOpenCommand(const std::string& command_line);

class ExportedFilesDialog : public QDialog {
  Q_OBJECT
 public:
  ExportedFilesDialog(WindowContext& context, std::vector<tagCOutputfile> files,
                      QWidget* parent = nullptr);

  // The two buttons, on every selected row.
  void OpenSelected();
  void OpenSelectedWith();

 private:
  void OpenWithCommand(const std::string& command);
  std::vector<std::string> SelectedPaths() const;

  WindowContext& context_;
  std::vector<tagCOutputfile> files_;
  QTreeWidget* list_;
  QLineEdit* command_;
};

}  // namespace tabulon::ui
