#include <QCheckBox>
#include <QListWidget>
#include <QRadioButton>
#include <QTreeWidget>

#include "engine/template_kinds.h"
#include "tests/ui/template_editor_fixture.h"
#include "ui/registry_template.h"

namespace tabulon::ui {
namespace {

using testing::TemplateEditorTest;
using RegistryTemplateTest = TemplateEditorTest;

constexpr std::size_t kHklm = 0, kHkcr = 1, kHku = 2, kHkcc = 3, kHkcu = 4;

struct KeyEntryCase {
  const char* entry;
  RegistryKeyChoice parsed;
  const char* composed;  // the entry written back
};

TEST(RegistryKeyEntry, ParsesAsTheKeyEditorShowsItAndComposesBack) {
  const KeyEntryCase cases[] = {
      {"HKLM\\SOFTWARE\\Run",
       {kHklm, false, "SOFTWARE\\Run", SubkeyMode::kNone},
       "HKLM\\SOFTWARE\\Run"},
      {"HKCRx64\\CLSID\\*", {kHkcr, true, "CLSID", SubkeyMode::kOneLevel}, "HKCRx64\\CLSID\\*"},
      {"HKU\\S-1-5-18\\**", {kHku, false, "S-1-5-18", SubkeyMode::kRecursive}, "HKU\\S-1-5-18\\**"},
      {"HKCC\\System", {kHkcc, false, "System", SubkeyMode::kNone}, "HKCC\\System"},
      {"HKCUx64\\Software", {kHkcu, true, "Software", SubkeyMode::kNone}, "HKCUx64\\Software"},
      {"HKLM\\SOFTWARE\\A,B",
       {kHklm, false, "SOFTWARE\\A,B", SubkeyMode::kNone},
       "HKLM\\SOFTWARE\\A,B"},
      // Abbreviations are case-sensitive: anything else is the current user.
      {"hklm\\SOFTWARE", {kHkcu, false, "SOFTWARE", SubkeyMode::kNone}, "HKCU\\SOFTWARE"},
      {"HKXX\\Key", {kHkcu, false, "Key", SubkeyMode::kNone}, "HKCU\\Key"},
      {"HKLM\\SOFTWARE\\Run\\*  ",
       {kHklm, false, "SOFTWARE\\Run", SubkeyMode::kOneLevel},
       "HKLM\\SOFTWARE\\Run\\*"},
      {"HKLM\\SOFTWARE\\Run**",
       {kHklm, false, "SOFTWARE\\Run", SubkeyMode::kRecursive},
       "HKLM\\SOFTWARE\\Run\\**"},
      {"HKLM\\SOFTWARE\\", {kHklm, false, "SOFTWARE", SubkeyMode::kNone}, "HKLM\\SOFTWARE"},
      {"HKLM\\*", {kHklm, false, "", SubkeyMode::kOneLevel}, "HKLM\\*"},
      {"HKLMx64", {kHklm, true, "", SubkeyMode::kNone}, "HKLMx64"},
      // A mid-path wildcard is part of the path.
      {"HKLM\\SOFTWARE\\Vendor*\\Setup",
       {kHklm, false, "SOFTWARE\\Vendor*\\Setup", SubkeyMode::kNone},
       "HKLM\\SOFTWARE\\Vendor*\\Setup"},
  };
  for (const KeyEntryCase& c : cases) {
    const RegistryKeyChoice parsed = ParseKeyChoice(c.entry);
    EXPECT_EQ(parsed, c.parsed) << c.entry;
    EXPECT_EQ(ComposeKeyEntry(parsed), c.composed) << c.entry;
  }
}

constexpr std::string_view kTemplates =
    "; shared by every configuration\r\n"
    "[Installed Software]\r\n"
    "Enabled=1\r\n"
    "OutputFileName=reg_installed.txt\r\n"
    "OutputColumns=%OBJECT_NAME%,,DisplayName\r\n"
    "OutputKeys=HKLMx64\\SOFTWARE\\A,B\\Uninstall\\*,HKCU\\Software\\**\r\n"
    "\r\n"
    "[Run Keys]\r\n"
    "Enabled=0\r\n"
    "OutputFileName=run.txt\r\n"
    "OutputColumns=%VALUE_NAME%,%VALUE%\r\n"
    "OutputKeys=HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\r\n";

TEST_F(RegistryTemplateTest, OpenedAndClosedWithOkLeavesTheSharedFileAsItWas) {
  const ui::TemplateEdit edit = Edit(TemplateKind::kRegistry, "Installed Software");
  Write(edit.file, kTemplates);
  std::vector<std::string> keys, columns;
  testing::WhenModal([&](QWidget* dialog) {
    for (const char* name : {"keyList", "valueList"}) {
      auto* list = Child<QListWidget>(dialog, name);
      for (int i = 0; list && i < list->count(); ++i) {
        (name[0] == 'k' ? keys : columns).push_back(list->item(i)->text().toStdString());
      }
    }
    Ok(dialog)->click();
  });
  std::string saved;
  EXPECT_TRUE(EditTemplate(edit, saved));
  EXPECT_EQ(saved, "Installed Software");
  EXPECT_EQ(keys, (std::vector<std::string>{"HKLMx64\\SOFTWARE\\A,B\\Uninstall\\*",
                                            "HKCU\\Software\\**"}));
  EXPECT_EQ(columns, (std::vector<std::string>{"%OBJECT_NAME%", "(default value)", "DisplayName"}));
  EXPECT_EQ(Read(edit.file), kTemplates);
}

TEST_F(RegistryTemplateTest, NewTemplateWritesEveryKeyFromTheListEditors) {
  const ui::TemplateEdit edit = Edit(TemplateKind::kRegistry, "");
  testing::WhenModal([&](QWidget* dialog) {
    QPushButton* ok = Ok(dialog);
    EXPECT_FALSE(ok->isEnabled());
    SetText(dialog, "templateName", "Uninstall");
    EXPECT_FALSE(ok->isEnabled()) << "no output file";
    SetText(dialog, "outputFileName", "uninstall.txt");
    EXPECT_TRUE(ok->isEnabled());
    SetText(dialog, "templateName", "  ");
    EXPECT_FALSE(ok->isEnabled()) << "a blank name";
    SetText(dialog, "templateName", "Uninstall");

    Opening(Child<QPushButton>(dialog, "keyListAdd"), [&](QWidget* key) {
      EXPECT_TRUE(Child<QRadioButton>(key, "hiveHKLM")->isChecked());
      EXPECT_FALSE(Ok(key)->isEnabled()) << "a hive alone names no key";
      Child<QCheckBox>(key, "view64")->setChecked(true);
      SetText(key, "keyPath", "SOFTWARE\\Uninstall\\");
      Child<QRadioButton>(key, "oneLevelSubkeys")->setChecked(true);
      Ok(key)->click();
    });
    Opening(Child<QPushButton>(dialog, "keyListAdd"), [&](QWidget* key) {
      Child<QRadioButton>(key, "hiveHKU")->setChecked(true);
      SetText(key, "keyPath", ".DEFAULT");
      Child<QRadioButton>(key, "allSubkeys")->setChecked(true);
      Ok(key)->click();
    });
    Opening(Child<QPushButton>(dialog, "valueListAdd"), [&](QWidget* value) {
      SetText(value, "valueName", "DisplayName");
      Ok(value)->click();
    });
    Opening(Child<QPushButton>(dialog, "valueListAdd"), [&](QWidget* value) {
      Opening(Child<QPushButton>(value, "lookupSymbol"), [](QWidget* picker) {
        auto* symbols = Child<QTreeWidget>(picker, "symbolList");
        for (int i = 0; symbols && i < symbols->topLevelItemCount(); ++i) {
          if (symbols->topLevelItem(i)->text(0) == QStringLiteral("Registry_Key_Name")) {
            symbols->setCurrentItem(symbols->topLevelItem(i));
          }
        }
        Ok(picker)->click();
      });
      Ok(value)->click();
    });
    auto* up = Child<QPushButton>(dialog, "valueListUp");
    auto* down = Child<QPushButton>(dialog, "valueListDown");
    EXPECT_TRUE(up->isEnabled());
    EXPECT_FALSE(down->isEnabled()) << "at the end";
    up->click();
    EXPECT_FALSE(up->isEnabled()) << "at the start";
    EXPECT_TRUE(down->isEnabled());
    Child<QCheckBox>(dialog, "templateEnabled")->setChecked(false);
    ok->click();
  });
  std::string saved;
  ASSERT_TRUE(EditTemplate(edit, saved));
  EXPECT_EQ(saved, "Uninstall");
  EXPECT_EQ(Read(edit.file),
            "[Uninstall]\r\n"
            "Enabled=0\r\n"
            "OutputFileName=uninstall.txt\r\n"
            "OutputColumns=%KEY_NAME%,DisplayName\r\n"
            "OutputKeys=HKLMx64\\SOFTWARE\\Uninstall\\*,HKU\\.DEFAULT\\**\r\n");
}

TEST_F(RegistryTemplateTest, RenameMovesTheSectionAndRefusesATakenName) {
  const ui::TemplateEdit edit = Edit(TemplateKind::kRegistry, "Run Keys");
  Write(edit.file, kTemplates);
  std::string refused;
  testing::WhenModal([&](QWidget* dialog) {
    SetText(dialog, "templateName", "installed software");
    AnswerBox(QMessageBox::Ok, refused);
    Ok(dialog)->click();
    EXPECT_TRUE(dialog->isVisible()) << "a taken name keeps the editor open";
    SetText(dialog, "templateName", "Startup");
    Ok(dialog)->click();
  });
  std::string saved;
  ASSERT_TRUE(EditTemplate(edit, saved));
  EXPECT_EQ(refused, "A template named 'installed software' already exists in " + edit.file +
                         ". Choose another name.");
  EXPECT_EQ(saved, "Startup");
  const std::string_view kept = kTemplates.substr(0, kTemplates.find("[Run Keys]"));
  EXPECT_EQ(Read(edit.file),
            std::string(kept) +
                "[Startup]\r\n"
                "Enabled=0\r\n"
                "OutputFileName=run.txt\r\n"
                "OutputColumns=%VALUE_NAME%,%VALUE%\r\n"
                "OutputKeys=HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\r\n");
}

}  // namespace
}  // namespace tabulon::ui
