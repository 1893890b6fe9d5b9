#pragma once
// "Import Object File" (a text list and the type its objects get) and
// "Import Quoll Object File" (the sibling tool's object file, whose lines
// carry their types): the file to read.
#include <QDialog>
#include <cstdint>
#include <string>

class QComboBox;
class QLineEdit;

namespace tabulon::ui {

enum class ImportKind { kTextList, kQuollObjectFile };

class ImportObjectFileDialog : public QDialog {
  Q_OBJECT
 public:
  explicit ImportObjectFileDialog(ImportKind kind, QWidget* parent = nullptr);
  // The file as typed (date tokens not yet replaced).
  std::string path() const;
  // The type the text list's objects get.
  std::uint32_t object_type() const;

 private:
  void Browse();

  ImportKind kind_;
  QLineEdit* path_;
  QComboBox* type_ = nullptr;
};

// Where browsing for the sibling tool's object file starts: its folder
// beside this program's data folder, else the current folder.
std::string QuollDataFolder();

}  // namespace tabulon::ui
