#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <filesystem>

#include "engine/messages.h"
#include "tests/ui/configuration_test_fixture.h"
#include "ui/assign_object_file_dialog.h"
#include "ui/configuration_commands.h"
#include "ui/configuration_list_dialog.h"
#include "ui/global_settings_dialog.h"
#include "ui/new_configuration_dialog.h"

namespace tabulon::ui {
namespace {

using ConfigurationDialogsTest = testing::ConfigurationTest;

// Presses `button` on the next message box and keeps its text.
void AnswerBox(QMessageBox::StandardButton button, std::string& text) {
  testing::WhenModal([button, &text](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    text = box->text().toStdString();
    box->button(button)->click();
  });
}

void SetText(QWidget& dialog, const char* name, const std::string& text) {
  auto* edit = dialog.findChild<QLineEdit*>(name);
  ASSERT_NE(edit, nullptr) << name;
  edit->setText(QString::fromStdString(text));
}

TEST_F(ConfigurationDialogsTest, NewRefusesQuollsObjectFileThenWritesTheConfiguration) {
  NewConfigurationDialog dialog(*context_);
  SetText(dialog, "configurationName", "Nightly");
  SetText(dialog, "configurationFileName", "nightly");
  SetText(dialog, "objectFileName", "ad_objects.dat");
  std::string shown;
  AnswerBox(QMessageBox::Ok, shown);
  dialog.accept();
  EXPECT_EQ(shown, MessageText(kMsgQuollObjectFileAsObjectFile));
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_FALSE(std::filesystem::exists(DataFile("nightly.INI")));

  SetText(dialog, "objectFileName", "nightly");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.created_path(), DataFile("nightly.INI"));
  EXPECT_EQ(Read(DataFile("nightly.INI")), "[General]\r\nConfigurationName=Nightly\r\nObjectFile=" +
                                               DataFile("nightly.DAT") + "\r\n");
}

TEST_F(ConfigurationDialogsTest, DeleteAsksAndTheEntryLeavesTheListEitherWay) {
  for (const char* name : {"a", "b", "c"}) {
    Write(DataFile(std::string(name) + ".ini"),
          std::string("[General]\r\nConfigurationName=") + name + "\r\n");
  }
  Write(DataFile("unnamed.INI"), "[General]\r\nExportServices=1\r\n");
  ConfigurationListDialog dialog(*context_, ConfigurationListMode::kManage);
  auto* list = dialog.findChild<QListWidget*>("configurationList");
  ASSERT_EQ(list->count(), 3);
  EXPECT_EQ(list->currentRow(), 0);
  EXPECT_FALSE(dialog.findChild<QWidget*>("searchFolderControls")->isVisibleTo(&dialog));
  auto* remove = dialog.findChild<QPushButton*>("deleteButton");

  std::string asked;
  AnswerBox(QMessageBox::No, asked);
  remove->click();
  EXPECT_EQ(asked, FormatMessageId(kMsgConfirmDeleteConfiguration, {DataFile("a.ini")}));
  EXPECT_TRUE(std::filesystem::exists(DataFile("a.ini")));
  ASSERT_EQ(list->count(), 2);

  AnswerBox(QMessageBox::Yes, asked);
  remove->click();
  EXPECT_EQ(asked, FormatMessageId(kMsgConfirmDeleteConfiguration, {DataFile("b.ini")}));
  EXPECT_FALSE(std::filesystem::exists(DataFile("b.ini")));
  ASSERT_EQ(list->count(), 1);
  EXPECT_EQ(dialog.Selected().path, DataFile("c.ini"));
}

TEST_F(ConfigurationDialogsTest, AssignWritesTheChosenFilesFullPath) {
  const std::string configuration = DataFile("site.INI");
  Write(configuration, "[General]\r\nConfigurationName=Site\r\nObjectFile=old.DAT\r\n");
  Write(DataFile("first.DAT"), "1\t0\t24\t1\treserved\treserved\tWS1\t\tWS1\r\n");
  Write(DataFile("second.dat"), "1\t0\t33\t1\treserved\treserved\tSRV\t\tSRV\r\n");
  context_->configuration = configuration;
  testing::WhenModal([](QWidget* modal) {
    auto* dialog = qobject_cast<AssignObjectFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    dialog->findChild<QListWidget*>("objectFileList")->setCurrentRow(1);
    dialog->accept();
  });
  EXPECT_TRUE(AssignObjectFile(nullptr, *context_, configuration));
  EXPECT_EQ(Read(configuration),
            "[General]\r\nConfigurationName=Site\r\nObjectFile=" + DataFile("second.dat") + "\r\n");
}

TEST_F(ConfigurationDialogsTest, GlobalSettingsWritesTheFourKeys) {
  GlobalSettingsDialog dialog(*context_);
  EXPECT_EQ(dialog.findChild<QLineEdit*>("configurationFileExtension")->text(), ".INI");
  SetText(dialog, "objectFileDirectory", "/srv/objects");
  SetText(dialog, "objectFileExtension", ".LST");
  SetText(dialog, "configurationFileDirectory", "/srv/configs");
  SetText(dialog, "configurationFileExtension", ".CFG");
  dialog.accept();
  EXPECT_EQ(Read(context_->settings.path()),
            "[Settings]\r\nObjectFileDirectory=/srv/objects\r\nObjectFileExtension=.LST\r\n"
            "ConfigurationFileDirectory=/srv/configs\r\nConfigurationFileExtension=.CFG\r\n");
}

TEST_F(ConfigurationDialogsTest, ImportIsRefusedForTheHandedOverList) {
  context_->handover = true;
  std::string shown;
  AnswerBox(QMessageBox::Ok, shown);
  EXPECT_FALSE(ImportObjectFile(nullptr, *context_).has_value());
  EXPECT_EQ(shown, MessageText(kMsgQuollObjectFileReadOnly));
}

TEST_F(ConfigurationDialogsTest, StartUpConversionTellsTheUserThenMakesTheConfiguration) {
  std::string title;
  auto answer = [&title](QWidget* modal) {
    title = modal->windowTitle().toStdString();
    qobject_cast<QMessageBox*>(modal)->button(QMessageBox::Ok)->click();
  };
  testing::WhenModal(answer);
  EXPECT_EQ(ConvertQuollObjectFile(nullptr, *context_, DataFile("missing.dat")), "");
  EXPECT_EQ(title, "Quoll Configuration");
  EXPECT_FALSE(std::filesystem::exists(DataFile("QUOLL_EXPORT.INI")));

  Write(DataFile("ad_objects.dat"), "1\t0\t23\t-\tWS1\t\t\r\n");
  title.clear();
  testing::WhenModal(answer);
  EXPECT_EQ(ConvertQuollObjectFile(nullptr, *context_, DataFile("ad_objects.dat")),
            DataFile("QUOLL_EXPORT.INI"));
  EXPECT_EQ(title, "Quoll Configuration");
  EXPECT_EQ(Read(DataFile("QUOLL_EXPORT.DAT")), "1\t0\t24\t0\treserved\treserved\tWS1\t\tWS1\r\n");
}

}  // namespace
}  // namespace tabulon::ui
