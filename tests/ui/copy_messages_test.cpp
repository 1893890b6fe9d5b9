// Copy Messages: the chosen rows of the progress list, as the options say,
// to a text file or the clipboard, byte for byte.
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>

#include "ui/copy_messages_dialog.h"
#include "ui/copy_messages_text.h"
#include "ui/main_window_fixture.h"

namespace tabulon::ui {
namespace {

class CopyMessages : public MainWindowTest {
 protected:
  void SetUp() override {
    window_.progress_list().model_rows().AppendRows({
        {ProgressKind::kWorkstation, 7, 0, "PC1", "Exporting..."},
        {ProgressKind::kServices, 22, 1, "PC1", "Exporting Services..."},
        {ProgressKind::kFailure, 88, 1, "PC2", "Unable to connect; \"access\" denied."},
        {ProgressKind::kEndReport, 53, 0, "Export Completed.", "2 Objects Processed."},
    });
  }
  void Select(std::initializer_list<int> rows) {
    QItemSelectionModel* selection = window_.progress_list().selectionModel();
    for (const int row : rows) {
      selection->select(window_.progress_list().model()->index(row, 0),
                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
  }
  CopyMessagesDialog* Open() {
    window_.action(Command::kCopyMessages)->trigger();
    return window_.findChild<CopyMessagesDialog*>("copyMessagesDialog");
  }
  template <typename Widget>
  static Widget* Find(CopyMessagesDialog* dialog, const char* name) {
    auto* widget = dialog->findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
};

TEST_F(CopyMessages, TheOptionsShapeTheFileAndAppendAddsToIt) {
  struct Case {
    const char* what;
    bool append, other, labels, image_ids, indentation;
    std::string expected;  // the file afterwards
  };
  const std::string rows_0_2 =
      "PC1\tExporting...\r\nPC2\tUnable to connect; \"access\" denied.\r\n";
  const Case cases[] = {
      {"plain", false, false, false, false, false, rows_0_2},
      {"append", true, false, false, false, false, rows_0_2 + rows_0_2},
      {"everything, replacing", false, true, true, true, true,
       "Image ID;IndentLevel;Object Name;Status Message\r\n7;0;PC1;Exporting...\r\n"
       "88;1;PC2;Unable to connect; \"access\" denied.\r\n"},
      {"labels and indentation", false, false, true, false, true,
       "IndentLevel\tObject Name\tStatus Message\r\n0\tPC1\tExporting...\r\n"
       "1\tPC2\tUnable to connect; \"access\" denied.\r\n"},
  };
  Select({2, 0});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CopyMessagesDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    Find<QRadioButton>(dialog, "textFileOption")->setChecked(true);
    Find<QLineEdit>(dialog, "messageFileName")->setText(QString::fromStdString(dir_.File("m.txt")));
    Find<QCheckBox>(dialog, "appendOption")->setChecked(c.append);
    Find<QRadioButton>(dialog, c.other ? "otherDelimiter" : "tabDelimiter")->setChecked(true);
    Find<QLineEdit>(dialog, "otherDelimiterText")->setText(";");
    Find<QCheckBox>(dialog, "labelsOption")->setChecked(c.labels);
    Find<QCheckBox>(dialog, "imageIdsOption")->setChecked(c.image_ids);
    Find<QCheckBox>(dialog, "indentationOption")->setChecked(c.indentation);
    dialog->accept();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dir_.Read("m.txt"), c.expected);
    delete dialog;
  }
}

TEST_F(CopyMessages, TheClipboardGetsUnicodeTextWithCrLf) {
  window_.progress_list().model_rows().AppendRows(
      {{ProgressKind::kFolder, 15, 2, "Überweisung", "Größe €"}});
  Select({1, 4});
  CopyMessagesDialog* dialog = Open();
  ASSERT_NE(dialog, nullptr);
  Find<QCheckBox>(dialog, "imageIdsOption")->setChecked(true);
  dialog->accept();
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
            "22\tPC1\tExporting Services...\r\n15\tÜberweisung\tGröße €\r\n");
}

TEST_F(CopyMessages, NoRowChosenGivesTheLabelRowOrNothing) {
  const CopyMessagesOptions labels{"\t", true, false, false};
  EXPECT_EQ(BuildMessagesText({}, labels, "\r\n"), "Object Name\tStatus Message\r\n");
  EXPECT_EQ(BuildMessagesText({}, CopyMessagesOptions{}, "\r\n"), "");
  EXPECT_EQ(FirstCharacter("€;"), "€");
  EXPECT_EQ(FirstCharacter(""), "");
}

TEST_F(CopyMessages, AFileThatCannotBeOpenedIsReportedAndTheDialogStays) {
  Select({0});
  CopyMessagesDialog* dialog = Open();
  ASSERT_NE(dialog, nullptr);
  const std::string path = dir_.File("missing/m.txt");
  Find<QRadioButton>(dialog, "textFileOption")->setChecked(true);
  Find<QLineEdit>(dialog, "messageFileName")->setText(QString::fromStdString(path));
  QString title;
  QString text;
  WhenModal([&](QWidget* modal) {
    title = modal->windowTitle();
    text = qobject_cast<QMessageBox*>(modal)->text();
    qobject_cast<QMessageBox*>(modal)->accept();
  });
  dialog->accept();
  EXPECT_EQ(title, "Message File");
  EXPECT_TRUE(text.startsWith(QString::fromStdString("Unable to open 'Message File' file " + path)))
      << text.toStdString();
  EXPECT_TRUE(dialog->isVisible());
}

}  // namespace
}  // namespace tabulon::ui
