#include <QCheckBox>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>

#include "engine/messages.h"
#include "engine/template_kinds.h"
#include "tests/ui/template_editor_fixture.h"

namespace tabulon::ui {
namespace {

using FileTemplateTest = testing::TemplateEditorTest;

constexpr std::string_view kTemplates =
    "[Program executables]\r\n"
    "Enabled=1\r\n"
    "OutputFileName=ProgramExecutables.txt\r\n"
    "OutputColumns=1003,0,1,6,20\r\n"
    "Paths=data:apps\\mdb|apps\\users:%SHARE_NAME%\r\n"
    "PathOptions=120\r\n"
    "PathLevels=110300\r\n"
    "GetHiddenShares=1\r\n"
    "GetAdminShares=0\r\n"
    "GetNormalShares=1\r\n"
    "GetDirsOnly=0\r\n"
    "Files=*.exe||*.dll\r\n";

TEST_F(FileTemplateTest, OpenedAndClosedWithOkLeavesTheSharedFileAsItWas) {
  const ui::TemplateEdit edit = Edit(TemplateKind::kFile, "Program executables");
  Write(edit.file, kTemplates);
  std::vector<std::string> paths;
  testing::WhenModal([&](QWidget* dialog) {
    auto* list = Child<QListWidget>(dialog, "pathList");
    for (int i = 0; list && i < list->count(); ++i) {
      paths.push_back(list->item(i)->text().toStdString());
    }
    EXPECT_EQ(Child<QListWidget>(dialog, "filterList")->count(), 3);
    Ok(dialog)->click();
  });
  std::string saved;
  EXPECT_TRUE(EditTemplate(edit, saved));
  EXPECT_EQ(paths, (std::vector<std::string>{
                       "data \u2014 all subdirectories", "apps\\mdb|apps\\users \u2014 3 levels",
                       "%SHARE_NAME% (all normal, hidden shares) \u2014 top level only"}));
  EXPECT_EQ(Read(edit.file), kTemplates);
}

TEST_F(FileTemplateTest, NewTemplateWritesEveryKeyFromTheListEditors) {
  const ui::TemplateEdit edit = Edit(TemplateKind::kFile, "");
  testing::WhenModal([&](QWidget* dialog) {
    EXPECT_FALSE(Ok(dialog)->isEnabled());
    SetText(dialog, "templateName", "Documents");
    EXPECT_TRUE(Ok(dialog)->isEnabled()) << "no output file: security only";
    SetText(dialog, "outputFileName", "docs.txt");
    Child<QCheckBox>(dialog, "dirsOnly")->setChecked(true);
    Opening(Child<QPushButton>(dialog, "pathListAdd"), [&](QWidget* path) {
      Child<QRadioButton>(path, "retrieveAllShares")->setChecked(true);
      Child<QCheckBox>(path, "normalShares")->setChecked(true);
      Child<QCheckBox>(path, "adminShares")->setChecked(true);
      Child<QRadioButton>(path, "scanAllLevels")->setChecked(true);
      Ok(path)->click();
    });
    Opening(Child<QPushButton>(dialog, "pathListAdd"), [&](QWidget* path) {
      EXPECT_FALSE(Child<QRadioButton>(path, "retrieveAllShares")->isEnabled())
          << "only one entry retrieves all shares";
      SetText(path, "sharePaths", "apps\\mdb|apps\\users");
      Child<QRadioButton>(path, "scanLevels")->setChecked(true);
      Child<QSpinBox>(path, "scanLevelCount")->setValue(3);
      Ok(path)->click();
    });
    Opening(Child<QPushButton>(dialog, "filterListAdd"), [&](QWidget* filter) {
      EXPECT_FALSE(Ok(filter)->isEnabled());
      SetText(filter, "fileFilter", "*.doc|sales*.*");
      Ok(filter)->click();
    });
    Opening(Child<QPushButton>(dialog, "filterListAdd"), [&](QWidget* filter) {
      SetText(filter, "fileFilter", "*.xls");
      Ok(filter)->click();
    });
    Ok(dialog)->click();
  });
  std::string saved;
  ASSERT_TRUE(EditTemplate(edit, saved));
  EXPECT_EQ(saved, "Documents");
  EXPECT_EQ(Read(edit.file),
            "[Documents]\r\n"
            "Enabled=1\r\n"
            "OutputFileName=docs.txt\r\n"
            "OutputColumns=1003,0,1,6\r\n"
            "Paths=%SHARE_NAME%:apps\\mdb|apps\\users\r\n"
            "PathOptions=12\r\n"
            "PathLevels=1103\r\n"
            "GetHiddenShares=0\r\n"
            "GetAdminShares=1\r\n"
            "GetNormalShares=1\r\n"
            "GetDirsOnly=1\r\n"
            "Files=*.doc|sales*.*|*.xls\r\n");
}

// The path editor stays open after each refusal, and takes the entry once
// it is put right.
TEST_F(FileTemplateTest, PathEditorRefusesAllSharesOfNoKindAndTooFewLevels) {
  struct Case {
    const char* source;  // radio button
    const char* paths;
    int levels;
    MessageId refusal;
  };
  const Case cases[] = {
      {"retrieveAllShares", "", 2, kMsgShareOptionRequired},
      {"useSpecifiedPaths", "apps", 1, kMsgScanDepth},
  };
  for (const Case& c : cases) {
    const ui::TemplateEdit edit = Edit(TemplateKind::kFile, "");
    std::string refused;
    testing::WhenModal([&](QWidget* dialog) {
      SetText(dialog, "templateName", c.source);
      Opening(Child<QPushButton>(dialog, "pathListAdd"), [&](QWidget* path) {
        Child<QRadioButton>(path, c.source)->setChecked(true);
        if (*c.paths != '\0') SetText(path, "sharePaths", c.paths);
        Child<QRadioButton>(path, "scanLevels")->setChecked(true);
        Child<QSpinBox>(path, "scanLevelCount")->setValue(c.levels);
        AnswerBox(QMessageBox::Ok, refused);
        Ok(path)->click();
        EXPECT_TRUE(path->isVisible()) << c.source;
        Child<QCheckBox>(path, "hiddenShares")->setChecked(true);
        Child<QSpinBox>(path, "scanLevelCount")->setValue(2);
        Ok(path)->click();
      });
      EXPECT_EQ(Child<QListWidget>(dialog, "pathList")->count(), 1) << c.source;
      dialog->close();
    });
    std::string saved;
    EXPECT_FALSE(EditTemplate(edit, saved)) << c.source;
    EXPECT_EQ(refused, MessageText(c.refusal)) << c.source;
  }
}

}  // namespace
}  // namespace tabulon::ui
