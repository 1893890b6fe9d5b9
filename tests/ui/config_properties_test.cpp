// The configuration overview: Add and Delete, the name, and its start on
// its own from the command line.
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>

#include "engine/messages.h"
#include "tests/ui/configuration_test_fixture.h"
#include "ui/config_properties_dialog.h"
#include "ui/file_locations_dialog.h"

namespace tabulon::ui {
namespace {

class ConfigPropertiesTest : public testing::ConfigurationTest {
 protected:
  ConfigPropertiesTest() {
    Write(DataFile("RegTemplates.CFG"),
          "[Uninstall]\r\nOutputFileName=uninstall.txt\r\n[Draft]\r\nEnabled=1\r\n");
    Write(DataFile("site.INI"),
          "[General]\r\nConfigurationName=Site\r\n[Services]\r\nExportServices=1\r\n"
          "[Templates]\r\nRegistryTemplates=Old\r\n[Computers]\r\nFilteringEnable=1\r\n");
  }
  SheetContext Context() { return {context_->profile, DataFile("site.INI"), context_->locations}; }
};

std::vector<std::string> Texts(const QListWidget& list) {
  std::vector<std::string> texts;
  for (int i = 0; i < list.count(); ++i) texts.push_back(list.item(i)->text().toStdString());
  return texts;
}

void Pick(QTreeWidget& tree, const char* text) {
  const auto found = tree.findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
  ASSERT_EQ(found.size(), 1) << text;
  tree.setCurrentItem(found.front());
}

TEST_F(ConfigPropertiesTest, AddAndDeleteWriteAsTheyGoAndTheNameOnClose) {
  ConfigPropertiesDialog dialog(Context());
  auto& enabled = *dialog.findChild<QListWidget*>("enabledExports");
  auto& available = *dialog.findChild<QTreeWidget*>("availableExports");
  auto* add = dialog.findChild<QPushButton*>("addButton");
  EXPECT_EQ(Texts(enabled), (std::vector<std::string>{"Services", "Registry", "    Old"}));
  EXPECT_EQ(dialog.findChild<QLabel*>("enabledExportsLabel")->text().toStdString(),
            "&" + std::string(MessageText(kMsgEnabledExports)) +
                std::string(MessageText(kMsgComputerFilteringOn)));
  EXPECT_TRUE(available.findItems("Services", Qt::MatchExactly).isEmpty());
  EXPECT_FALSE(enabled.item(2)->toolTip().isEmpty());  // "Old" is not in the template file

  // A template without an output file is refused and nothing is written.
  const std::string before = Read(DataFile("site.INI"));
  Pick(available, "Draft");
  std::string shown;
  testing::WhenModal([&shown](QWidget* modal) {
    shown = qobject_cast<QMessageBox*>(modal)->text().toStdString();
    qobject_cast<QMessageBox*>(modal)->accept();
  });
  add->click();
  EXPECT_EQ(shown, MessageText(kMsgOutputFileRequired));
  EXPECT_EQ(Read(DataFile("site.INI")), before);

  Pick(available, "Uninstall");
  add->click();
  Pick(available, "Computers");
  add->click();
  EXPECT_EQ(Texts(enabled), (std::vector<std::string>{"Services", "Computers", "Registry",
                                                      "    Old", "    Uninstall"}));
  EXPECT_TRUE(enabled.item(4)->toolTip().isEmpty());
  enabled.item(0)->setSelected(true);
  enabled.item(3)->setSelected(true);
  dialog.findChild<QPushButton*>("deleteButton")->click();
  EXPECT_EQ(Texts(enabled), (std::vector<std::string>{"Computers", "Registry", "    Uninstall"}));

  dialog.findChild<QLineEdit*>("configurationName")->setText("Branch");
  dialog.findChild<QPushButton*>("closeButton")->click();
  EXPECT_EQ(Read(DataFile("site.INI")),
            "[General]\r\nConfigurationName=Branch\r\n[Services]\r\nExportServices=0\r\n"
            "[Templates]\r\nRegistryTemplates=Uninstall;\r\n[Computers]\r\nFilteringEnable=1\r\n"
            "ExportComputers=1\r\n");
}

TEST_F(ConfigPropertiesTest, FileLocationsWriteEachNameToItsKey) {
  Write(DataFile("site.INI"), "[General]\r\nRegistryCfgFile=Reg.CFG\r\n");
  testing::WhenModal([](QWidget* dialog) {
    EXPECT_EQ(dialog->findChild<QLineEdit*>("registryCfgFile")->text(), "Reg.CFG");
    EXPECT_EQ(dialog->findChild<QLineEdit*>("wmiCfgQueryFile")->placeholderText(),
              "WmiQueries.CFG");
    dialog->findChild<QLineEdit*>("registryCfgFile")->clear();  // blank: the default file
    dialog->findChild<QLineEdit*>("objectFile")->setText("site.DAT");
    dialog->findChild<QLineEdit*>("fileCfgFile")->setText("Files.CFG");
    qobject_cast<QDialog*>(dialog)->accept();
  });
  ASSERT_TRUE(EditFileLocations(nullptr, Context()));
  EXPECT_EQ(Read(DataFile("site.INI")),
            "[General]\r\nRegistryCfgFile=\r\nObjectFile=site.DAT\r\nFileCfgFile=Files.CFG\r\n");
}

TEST_F(ConfigPropertiesTest, StandingAloneItWritesOnlyTheNameOrSaysWhyNot) {
  testing::WhenModal([](QWidget* dialog) {
    dialog->findChild<QLineEdit*>("configurationName")->setText("Renamed");
    dialog->findChild<QPushButton*>("closeButton")->click();
  });
  // A name without a folder is in the data directory.
  EXPECT_EQ(RunConfigurationProperties(*context_, "site.INI"), 0);
  EXPECT_EQ(Read(DataFile("site.INI")),
            "[General]\r\nConfigurationName=Renamed\r\n[Services]\r\nExportServices=1\r\n"
            "[Templates]\r\nRegistryTemplates=Old\r\n[Computers]\r\nFilteringEnable=1\r\n");

  std::string shown;
  testing::WhenModal([&shown](QWidget* modal) {
    shown = qobject_cast<QMessageBox*>(modal)->text().toStdString();
    qobject_cast<QMessageBox*>(modal)->accept();
  });
  EXPECT_EQ(RunConfigurationProperties(*context_, "gone.INI"), 1);
  EXPECT_EQ(shown.rfind("Unable to open 'Export Configuration' file " + DataFile("gone.INI"), 0),
            0u)
      << shown;
}

}  // namespace
}  // namespace tabulon::ui
