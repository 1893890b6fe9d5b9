#include "ui/about.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

#include "ui/icons.h"
#include "ui/message_box.h"

namespace tabulon::ui {
namespace {

// The window's manual first, then the README that says how to run exports;
// the installed documentation keeps the source tree's layout.
constexpr const char* kManualFiles[] = {"docs/window.md", "README.md"};

}  // namespace

std::vector<std::string> ManualCandidates(const std::string& program_directory) {
  std::vector<std::string> places;
  const std::string installed = program_directory + "/../share/doc/tabulon/";
  for (const char* file : kManualFiles) places.push_back(installed + file);
  const std::string source = TABULON_SOURCE_DOC_DIR;
  places.push_back(source + "/window.md");
  places.push_back(source + "/../README.md");
  return places;
}

void OpenHelpContents(QWidget* parent, const std::string& program_directory) {
  const std::vector<std::string> places = ManualCandidates(program_directory);
  for (const std::string& place : places) {
    const QFileInfo file(QString::fromStdString(place));
    if (file.isFile() && file.isReadable()) {
      QDesktopServices::openUrl(QUrl::fromLocalFile(file.canonicalFilePath()));
      return;
    }
  }
  std::string text = "The manual was not found. It was looked for in:";
  for (const std::string& place : places) text += "\n" + place;
  ShowMessage(parent, text, MessageIcon::kWarning);
}

void ShowAbout(QWidget* parent) {
  QMessageBox box(parent);
  box.setObjectName("aboutBox");
  box.setWindowTitle(QObject::tr("About Tabulon"));
  box.setIconPixmap(ProgramIcon().pixmap(48, 48));
  box.setText(QObject::tr("<b>Tabulon</b> version %1").arg(TABULON_VERSION));
  box.setInformativeText(QObject::tr(
      "Exports inventory about Windows computers, domains and directories into delimited text "
      "files."));
  box.exec();
}

}  // namespace tabulon::ui
