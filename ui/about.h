#pragma once
// Help › Help Contents and the about box.
#include <string>
#include <vector>

class QWidget;

namespace tabulon::ui {

// Where the manual is looked for, in order: the installed documentation
// next to the program (../share/doc/tabulon), then the source tree's.
std::vector<std::string> ManualCandidates(const std::string& program_directory);
// Opens the first manual found with the desktop's viewer; else says where
// it was looked for.
void OpenHelpContents(QWidget* parent, const std::string& program_directory);
// The program's name, version and what it does.
void ShowAbout(QWidget* parent);

}  // namespace tabulon::ui
