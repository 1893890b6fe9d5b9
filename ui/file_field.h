#pragma once
// A file or folder name field with its browse button ("..."), and for list
// files an "Edit" button that opens the file in the user's text editor. The
// browse dialogs have the titles and filters the configuration pages use.
#include <QString>
#include <QWidget>
#include <cstdint>

class QLineEdit;

namespace tabulon::ui {

enum class FileFieldKind {
  kOutputFile,    // "Select Output File", "Output Files (*.TXT)"
  kLogFile,       // "Select Log File", output files
  kListFile,      // a text file of names: browse and Edit
  kTemplateFile,  // "Configuration Files (*.CFG)"
  kObjectFile,    // "Object Files (*.DAT)"
  kFolder,        // a folder; the caller gives the browse title
};

class FileField : public QWidget {
  Q_OBJECT
 public:
  // `object_name` names the line edit (tests and the key table find fields
  // by it); the buttons are named after it with "Browse" and "Edit".
  FileField(FileFieldKind kind, const QString& object_name, const QString& accessible_name,
            QWidget* parent = nullptr, const QString& folder_title = {});

  QString text() const;
  void setText(const QString& text);
  QLineEdit* edit() const { return edit_; }

 signals:
  void textChanged(const QString& text);

 private:
  void Browse();

  FileFieldKind kind_;
  QString folder_title_;
  QLineEdit* edit_;
};

// A Windows-style filter "Output Files (*.TXT)|*.TXT" as a file dialog's
// filter, matching the pattern in upper and lower case, and "All Files (*)".
QString FileDialogFilter(std::string_view windows_filter);

// Opens `path` in the user's editor: $VISUAL, else $EDITOR (in a terminal
// emulator when the editor runs in one, as the desktop's default terminal
// can't be known), else the desktop's default application for text files.
// A file that does not exist yet is created empty first, so a list can be
// started from here. False, after saying why, when nothing could be started.
bool OpenInTextEditor(QWidget* parent, const QString& path);

}  // namespace tabulon::ui
