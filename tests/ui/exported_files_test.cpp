#include "ui/exported_files_dialog.h"

#include <QLineEdit>
#include <QTreeWidget>
#include <chrono>
#include <filesystem>
#include <thread>

#include "engine/catalogue.h"
#include "tests/ui/configuration_test_fixture.h"

namespace tabulon::ui {
namespace {

using ExportedFilesTest = testing::ConfigurationTest;

std::string WaitForFile(const std::string& path) {
  for (int i = 0; i < 500 && !std::filesystem::exists(path); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  // The writer may still be between creating and writing the file.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  return testing::ScratchDir::ReadFile(path);
}

TEST(OpenCommandLineTest, EveryTokenIsReplaced) {
  EXPECT_EQ(OpenCommandLine("view \"%E%\" --diff %E%x", "/o/a b.csv"),
            "view \"/o/a b.csv\" --diff /o/a b.csvx");
  EXPECT_EQ(OpenCommandLine("view", "/o/a.csv"), "view");
  EXPECT_EQ(OpenCommandLine("%E", "/o/a.csv"), "%E");
}

TEST_F(ExportedFilesTest, OpenRunsTheCommandOnEverySelectedFileAndRemembersIt) {
  const std::string out = dir_.File("out");
  // Double quotes group words; the file with its space stays one argument.
  const std::string command = "sh -c \"echo $0 > " + out + "\" \"%E%\"";
  const std::vector<tagCOutputfile> files{
      {0, "Services", dir_.File("services out.csv")},
      {kNoExportType, "Registry Template", dir_.File("reg.csv")},
  };
  ExportedFilesDialog dialog(*context_, files);
  auto* list = dialog.findChild<QTreeWidget*>("exportedFileList");
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->topLevelItemCount(), 2);
  EXPECT_EQ(list->columnWidth(0), 150);
  EXPECT_EQ(list->columnWidth(1), 400);
  EXPECT_TRUE(list->topLevelItem(0)->isSelected());
  EXPECT_FALSE(list->topLevelItem(1)->isSelected());

  dialog.findChild<QLineEdit*>("openCommand")->setText(QString::fromStdString(command));
  dialog.OpenSelected();
  EXPECT_EQ(WaitForFile(out), dir_.File("services out.csv") + "\n");
  EXPECT_EQ(context_->settings.Get("LastOpenCmd"), command);
  // The next dialog starts with the command used.
  ExportedFilesDialog next(*context_, files);
  EXPECT_EQ(next.findChild<QLineEdit*>("openCommand")->text().toStdString(), command);
}

}  // namespace
}  // namespace tabulon::ui
