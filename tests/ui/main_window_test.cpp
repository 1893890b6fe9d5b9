// Opening a configuration from the window: what it writes, remembers and
// shows.
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>

#include "engine/configuration.h"
#include "engine/template_kinds.h"
#include "ui/enabled_exports_view.h"
#include "ui/main_recent_files.h"
#include "ui/main_window_fixture.h"

namespace tabulon::ui {
namespace {

TEST_F(MainWindowTest, OpeningAConfigurationNamesItsTemplatesTitlesAndRemembersIt) {
  EXPECT_EQ(window_.windowTitle(), "Tabulon - <unnamed configuration>");
  dir_.Write("named.ini", "[General]\nConfigurationName=Head Office\nWmiCfgQueryFile=Own.CFG\n");
  dir_.Write("plain.ini", "[General]\nObjectFile=objects.dat\n");

  ASSERT_TRUE(window_.OpenConfiguration(dir_.File("named.ini")));
  EXPECT_EQ(window_.windowTitle(), "Tabulon - Head Office");
  const Configuration named(context_.profile, dir_.File("named.ini"));
  for (const TemplateKindRow& kind : kTemplateKinds) {
    const std::string expected =
        kind.kind == TemplateKind::kWmi ? std::string("Own.CFG") : kind.default_file;
    EXPECT_EQ(named.ReadText("General", kind.general_key, ""), expected) << kind.general_key;
  }

  ASSERT_TRUE(window_.OpenConfiguration(dir_.File("plain.ini")));
  EXPECT_EQ(window_.windowTitle(), "Tabulon - <unnamed configuration>");
  EXPECT_EQ(context_.configuration, dir_.File("plain.ini"));
  EXPECT_EQ(context_.settings.Get("LastConfiguration"), dir_.File("plain.ini"));
  EXPECT_EQ(ReadRecentFiles(context_.settings),
            (std::vector<std::string>{dir_.File("plain.ini"), dir_.File("named.ini")}));
}

TEST_F(MainWindowTest, TheRecentFileListKeepsTheTenNewestOnce) {
  for (int i = 0; i <= 10; ++i) AddRecentFile(context_.settings, "c" + std::to_string(i) + ".ini");
  AddRecentFile(context_.settings, "c5.ini");
  EXPECT_EQ(ReadRecentFiles(context_.settings),
            (std::vector<std::string>{"c5.ini", "c10.ini", "c9.ini", "c8.ini", "c7.ini", "c6.ini",
                                      "c4.ini", "c3.ini", "c2.ini", "c1.ini"}));
}

TEST_F(MainWindowTest, AConfigurationThatCannotBeOpenedIsReportedAndChangesNothing) {
  dir_.Write("good.ini", "[General]\nConfigurationName=Good\n");
  ASSERT_TRUE(window_.OpenConfiguration(dir_.File("good.ini")));
  QString shown;
  WhenModal([&](QWidget* modal) {
    shown = modal->windowTitle() + ": " + qobject_cast<QMessageBox*>(modal)->text();
    qobject_cast<QMessageBox*>(modal)->accept();
  });
  EXPECT_FALSE(window_.OpenConfiguration(dir_.File("gone.ini")));
  EXPECT_TRUE(shown.startsWith("Export Configuration: Unable to open 'Export Configuration' file " +
                               QString::fromStdString(dir_.File("gone.ini"))))
      << shown.toStdString();
  EXPECT_EQ(window_.windowTitle(), "Tabulon - Good");
  EXPECT_EQ(context_.configuration, dir_.File("good.ini"));
}

TEST_F(MainWindowTest, PropertiesRenameTheConfigurationAndRebuildThePanes) {
  dir_.Write("site.ini", "[General]\nConfigurationName=Site\n");
  ASSERT_TRUE(window_.OpenConfiguration(dir_.File("site.ini")));
  ASSERT_TRUE(Enabled(Command::kConfigurationProperties));
  WhenModal([](QWidget* dialog) {
    dialog->findChild<QLineEdit*>("configurationName")->setText("Branch");
    auto* tree = dialog->findChild<QTreeWidget*>("availableExports");
    tree->setCurrentItem(tree->findItems("Services", Qt::MatchExactly).front());
    dialog->findChild<QPushButton*>("addButton")->click();
    dialog->findChild<QPushButton*>("closeButton")->click();
  });
  window_.action(Command::kConfigurationProperties)->trigger();
  EXPECT_EQ(window_.windowTitle(), "Tabulon - Branch");
  ASSERT_EQ(window_.enabled_exports().count(), 1);
  EXPECT_EQ(window_.enabled_exports().item(0)->text(), "Services");
}

}  // namespace
}  // namespace tabulon::ui
