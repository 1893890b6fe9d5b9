#pragma once
// "Copy Selected Messages": copies the chosen progress rows to the
// clipboard or a text file.
#include <QDialog>
#include <vector>

#include "engine/progress.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace tabulon::ui {

class CopyMessagesDialog : public QDialog {
  Q_OBJECT
 public:
  CopyMessagesDialog(std::vector<ProgressRow> rows, QWidget* parent = nullptr);

  void accept() override;  // copies; stays open when the copy failed

 private:
  bool CopyToClipboard();
  bool CopyToFile();

  std::vector<ProgressRow> rows_;
  QRadioButton* clipboard_;
  QRadioButton* text_file_;
  QLineEdit* file_name_;
  QCheckBox* append_;
  QRadioButton* tab_;
  QRadioButton* other_;
  QLineEdit* other_text_;
  QCheckBox* labels_;
  QCheckBox* image_ids_;
  QCheckBox* indentation_;
};

}  // namespace tabulon::ui
