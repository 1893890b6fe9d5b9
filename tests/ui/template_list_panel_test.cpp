#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QVBoxLayout>

#include "engine/configuration.h"
#include "engine/messages.h"
#include "engine/template_kinds.h"
#include "tests/ui/template_editor_fixture.h"
#include "ui/template_list_panel.h"

namespace tabulon::ui {
namespace {

using TemplateListPanelTest = testing::TemplateEditorTest;

constexpr std::string_view kTemplates =
    "[Alpha]\r\nOutputFileName=a.txt\r\n"
    "[Beta]\r\nOutputFileName=b.txt\r\n"
    "[Gamma]\r\nOutputFileName=c.txt\r\n";

std::vector<std::string> Shown(QListWidget* list, bool ticked_only) {
  std::vector<std::string> names;
  for (int i = 0; i < list->count(); ++i) {
    if (!ticked_only || list->item(i)->checkState() == Qt::Checked) {
      names.push_back(list->item(i)->text().toStdString());
    }
  }
  return names;
}

TEST(TemplateListNames, ComparesWholeNamesWithoutCase) {
  EXPECT_TRUE(TemplateListNames("alpha;GAMMA;", "Gamma"));
  EXPECT_TRUE(TemplateListNames("Alpha", "ALPHA")) << "no closing ';'";
  EXPECT_FALSE(TemplateListNames("Alph;Alphabet;", "Alpha"));
  EXPECT_FALSE(TemplateListNames(";", "Alpha"));
}

TEST_F(TemplateListPanelTest, TicksTheListedNamesAndWritesTheTickedOnes) {
  Write(sheet_.TemplateFile(TemplateKind::kRegistry), kTemplates);
  Write(sheet_.configuration, "[Templates]\r\nRegistryTemplates=gamma;ALPHA;Missing;\r\n");
  TemplateListPanel panel(sheet_, TemplateKind::kRegistry);
  auto* list = Child<QListWidget>(&panel, "templateList");
  EXPECT_EQ(Shown(list, false), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
  EXPECT_EQ(Shown(list, true), (std::vector<std::string>{"Alpha", "Gamma"}));

  list->item(1)->setCheckState(Qt::Checked);
  panel.Save();
  const Configuration config = sheet_.config();
  EXPECT_EQ(config.ReadText("Templates", "RegistryTemplates", ""), "Alpha;Beta;Gamma;");
  for (int i = 0; i < list->count(); ++i) list->item(i)->setCheckState(Qt::Unchecked);
  panel.Save();
  EXPECT_EQ(config.ReadText("Templates", "RegistryTemplates", ""), ";");
}

TEST_F(TemplateListPanelTest, DeletionAsksAndIsAppliedOnlyOnSave) {
  struct Case {
    TemplateKind kind;
    MessageId question;
  };
  for (const Case& c : {Case{TemplateKind::kFile, kMsgConfirmDeleteTemplate},
                        Case{TemplateKind::kDirectory, kMsgConfirmDeleteDirectoryQuery}}) {
    const std::string file = sheet_.TemplateFile(c.kind);
    const std::string_view list_key = TemplateKindInfo(c.kind).list_key;
    Write(file, kTemplates);
    sheet_.config().WriteText("Templates", list_key, "Alpha;Beta;");
    TemplateListPanel panel(sheet_, c.kind);
    auto* list = Child<QListWidget>(&panel, "templateList");
    auto* remove = Child<QPushButton>(&panel, "deleteTemplate");
    list->setCurrentRow(1);

    std::string asked;
    AnswerBox(QMessageBox::No, asked);
    remove->click();
    EXPECT_EQ(asked, MessageText(c.question));
    EXPECT_EQ(list->item(1)->text(), "Beta");

    AnswerBox(QMessageBox::Yes, asked);
    remove->click();
    EXPECT_EQ(list->item(1)->text(), "Beta (deleted)");
    EXPECT_FALSE(list->item(1)->flags().testFlag(Qt::ItemIsEnabled));
    EXPECT_FALSE(remove->isEnabled());
    EXPECT_FALSE(Child<QPushButton>(&panel, "templateProperties")->isEnabled());
    EXPECT_EQ(Read(file), kTemplates) << "nothing is removed before Save";

    panel.Save();
    EXPECT_EQ(Read(file), "[Alpha]\r\nOutputFileName=a.txt\r\n[Gamma]\r\nOutputFileName=c.txt\r\n");
    EXPECT_EQ(sheet_.config().ReadText("Templates", list_key, ""), "Alpha;");
  }
}

TEST_F(TemplateListPanelTest, AnUnreadableFileIsShownAndTheListKeyKept) {
  Write(sheet_.configuration, "[Templates]\r\nWmiTemplates=Disks;\r\n");
  TemplateListPanel panel(sheet_, TemplateKind::kWmi);
  const std::string file = sheet_.TemplateFile(TemplateKind::kWmi);
  auto* failure = Child<QLabel>(&panel, "templateListFailure");
  EXPECT_TRUE(failure->isVisibleTo(&panel));
  EXPECT_TRUE(failure->text().startsWith(
      QString::fromStdString(FormatMessageId(kMsgUnableToOpenFile, {"WMI Template", file}))));
  EXPECT_EQ(Child<QListWidget>(&panel, "templateList")->count(), 0);
  panel.Save();
  EXPECT_EQ(sheet_.config().ReadText("Templates", "WmiTemplates", ""), "Disks;");
}

TEST_F(TemplateListPanelTest, NewTemplateStartsAsItsEditorSaysAndRenameKeepsTheTick) {
  const std::string file = sheet_.TemplateFile(TemplateKind::kRegistry);
  Write(file, kTemplates);
  Write(sheet_.configuration, "[Templates]\r\nRegistryTemplates=Beta;\r\n");
  TemplateListPanel panel(sheet_, TemplateKind::kRegistry);
  auto* list = Child<QListWidget>(&panel, "templateList");

  Opening(Child<QPushButton>(&panel, "newTemplate"), [&](QWidget* dialog) {
    SetText(dialog, "templateName", "Delta");
    SetText(dialog, "outputFileName", "d.txt");
    Ok(dialog)->click();
  });
  list->setCurrentRow(1);
  Opening(Child<QPushButton>(&panel, "templateProperties"), [&](QWidget* dialog) {
    SetText(dialog, "templateName", "Bravo");
    Ok(dialog)->click();
  });
  EXPECT_EQ(Shown(list, false), (std::vector<std::string>{"Alpha", "Gamma", "Delta", "Bravo"}));
  EXPECT_EQ(Shown(list, true), (std::vector<std::string>{"Delta", "Bravo"}));
  EXPECT_EQ(list->currentItem()->text(), "Bravo");
  panel.Save();
  EXPECT_EQ(sheet_.config().ReadText("Templates", "RegistryTemplates", ""), "Delta;Bravo;");
}

// Enter on a page's list opens the template; the sheet's default button
// must not take the key as well and close the sheet behind the editor.
TEST_F(TemplateListPanelTest, EnterOpensTheCurrentTemplateAndLeavesTheSheetOpen) {
  Write(sheet_.TemplateFile(TemplateKind::kRegistry), kTemplates);
  QDialog sheet;
  auto* layout = new QVBoxLayout(&sheet);
  auto* panel = new TemplateListPanel(sheet_, TemplateKind::kRegistry);
  auto* ok = new QPushButton(QStringLiteral("OK"));
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, &sheet, &QDialog::accept);
  layout->addWidget(panel);
  layout->addWidget(ok);
  sheet.show();
  auto* list = Child<QListWidget>(panel, "templateList");
  list->setCurrentRow(2);
  std::string opened;
  testing::WhenModal([&](QWidget* editor) {
    opened = Child<QLineEdit>(editor, "templateName")->text().toStdString();
    editor->close();
  });
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_EQ(opened, "Gamma");
  EXPECT_TRUE(sheet.isVisible());
  EXPECT_NE(sheet.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace tabulon::ui
