// A configuration made from nothing in the window, the way a user makes
// one: New, an object in the object list, the exports, output folder and
// simulated network set in the property sheet, a run, and its files listed
// at the end. No file is written by the test but the network itself.
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include "engine/object_file.h"
#include "support/three_computers.h"
#include "ui/main_window_fixture.h"

namespace tabulon::ui {
namespace {

template <typename Widget>
Widget* Find(QWidget* dialog, const char* name) {
  auto* widget = dialog->findChild<Widget*>(QString::fromLatin1(name));
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

void SetText(QWidget* dialog, const char* name, const std::string& text) {
  if (auto* edit = Find<QLineEdit>(dialog, name)) edit->setText(QString::fromStdString(text));
}

void PressOk(QWidget* dialog) {
  Find<QDialogButtonBox>(dialog, "buttons")->button(QDialogButtonBox::Ok)->click();
}

class MadeInTheWindow : public MainWindowTest {};

TEST_F(MadeInTheWindow, NewConfigurationRunsAndListsItsFiles) {
  testing::WriteThreeComputers(dir_, 0);
  WhenModal([&](QWidget* dialog) {
    SetText(dialog, "configurationName", "Made here");
    SetText(dialog, "configurationFileName", "made");
    SetText(dialog, "objectFileName", "made");
    PressOk(dialog);
  });
  window_.action(Command::kNewConfiguration)->trigger();
  ASSERT_EQ(context_.configuration, dir_.File("made.INI"));

  WhenModal([](QWidget* dialog) {
    auto* type = Find<QComboBox>(dialog, "objectTypeCombo");
    type->setCurrentIndex(type->findData(static_cast<int>(kObjectWorkstation)));
    SetText(dialog, "displayNameEdit", "PC2");
    SetText(dialog, "pathEdit", "\\\\PC2");
    PressOk(dialog);
  });
  window_.action(Command::kNewObject)->trigger();

  // The overview, and from it the property sheet.
  WhenModal([&](QWidget* overview) {
    WhenModal([&](QWidget* sheet) {
      Find<QCheckBox>(sheet, "Services/ExportServices")->setChecked(true);
      Find<QCheckBox>(sheet, "Computers/PingEnable")->setChecked(false);
      SetText(sheet, "General/DefaultOutputDirectory", dir_.File("out"));
      SetText(sheet, "Platform/Estate", dir_.File("estate.json"));
      PressOk(sheet);
    });
    Find<QPushButton>(overview, "exportPropertiesButton")->click();
    Find<QPushButton>(overview, "closeButton")->click();
  });
  window_.action(Command::kConfigurationProperties)->trigger();
  std::filesystem::create_directories(dir_.File("out"));

  QStringList listed;
  WhenModal([&](QWidget* files) {
    auto* list = Find<QTreeWidget>(files, "exportedFileList");
    for (int i = 0; list != nullptr && i < list->topLevelItemCount(); ++i) {
      listed << list->topLevelItem(i)->text(1);
    }
    files->close();
  });
  QSignalSpy finished(&window_, &MainWindow::runFinished);
  window_.action(Command::kStartExport)->trigger();
  ASSERT_TRUE(finished.wait(20000));
  QTest::qWait(200);
  // PC2's one service, C, and nothing of the computers the list does not name.
  const QString services = QString::fromStdString(dir_.Read("out/services.txt"));
  EXPECT_TRUE(services.contains(QStringLiteral("\tC\t")) ||
              services.contains(QStringLiteral("\tC\n")))
      << services.toStdString();
  EXPECT_FALSE(services.contains(QStringLiteral("PC1"))) << services.toStdString();
  EXPECT_EQ(listed, QStringList{QString::fromStdString(dir_.File("out/services.txt"))});
}

}  // namespace
}  // namespace tabulon::ui
