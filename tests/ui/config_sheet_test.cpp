// The configuration property sheet: every key a page edits goes from its
// control to the file on OK, Cancel leaves the file alone, OK without a
// change leaves a run's output as it was, values outside the key table's
// range or choices are shown and kept.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <filesystem>
#include <map>
#include <set>
#include <span>

#include "engine/catalogue.h"
#include "engine/config_keys.h"
#include "engine/run_control.h"
#include "engine/run_observer.h"
#include "run/run.h"
#include "ui/config_sheet.h"
#include "ui/configuration_test_fixture.h"

namespace tabulon::ui {
namespace {

using testing::WhenModal;

std::string NameOf(const ConfigKey& key) {
  return std::string(key.section) + "/" + std::string(key.key);
}

// The keys a page shows a control for: not those an option dialog, the
// column chooser, a template list or the Other page's dialog edits.
std::vector<ConfigKey> ControlledKeys() {
  const std::set<std::string> dialog_keys = {
      "Computers/FilteringType", "Users/GetLogonInformation",
      "Users/LastLogonType",     "Users/SkipSpecifiedDomainControllers",
      "AD/PhotoFileOutputPath",  "AD/PhotoFileExtension"};
  std::vector<ConfigKey> keys;
  for (std::span<const ConfigKey> list : {GeneralConfigKeys(), PerTypeKeys()}) {
    for (const ConfigKey& k : list) {
      const bool on_sheet =
          static_cast<std::uint32_t>(k.page) < kSheetPageCount || k.page == ConfigPage::kPlatform;
      if (!on_sheet || k.page == ConfigPage::kOther || dialog_keys.contains(NameOf(k))) continue;
      if (k.kind == KeyKind::kFlags || k.kind == KeyKind::kColumnList ||
          k.kind == KeyKind::kTemplateList) {
        continue;
      }
      keys.push_back(k);
    }
  }
  return keys;
}

std::string Default(const ConfigKey& k) {
  return k.editor_default != nullptr ? k.editor_default : k.run_default;
}

// Changes the key's control to a value other than its default; returns the
// text OK should write.
std::string Change(QWidget* sheet, const ConfigKey& k) {
  const QString name = QString::fromStdString(NameOf(k));
  const std::int32_t shown = SettingValue(k, ProfileInteger(Default(k)));
  switch (k.kind) {
    case KeyKind::kSwitch: {
      auto* box = sheet->findChild<QCheckBox*>(name);
      if (box == nullptr) break;
      box->setChecked(shown == 0);
      return shown != 0 ? "0" : "1";
    }
    case KeyKind::kNumber: {
      auto* spin = sheet->findChild<QSpinBox*>(name);
      if (spin == nullptr) break;
      const int value = shown < k.range.max ? shown + 1 : shown - 1;
      spin->setValue(value);
      return std::to_string(value);
    }
    case KeyKind::kChoice: {
      auto* combo = sheet->findChild<QComboBox*>(name);
      if (combo == nullptr) break;
      for (const KeyChoice& c : k.choices) {
        if (c.value == shown) continue;
        combo->setCurrentIndex(combo->findData(c.value));
        return std::to_string(c.value);
      }
      break;
    }
    default: {
      auto* edit = sheet->findChild<QLineEdit*>(name);
      if (edit == nullptr) break;
      const std::string text =
          k.kind == KeyKind::kDelimiterText ? "\\t\\r\\n" : "/srv/" + std::string(k.key) + ";x y";
      edit->setText(QString::fromStdString(text));
      return text;
    }
  }
  ADD_FAILURE() << NameOf(k) << " has no control on the sheet";
  return {};
}

void Press(QWidget* dialog, const char* button_name, QDialogButtonBox::StandardButton which) {
  auto* buttons = dialog->findChild<QDialogButtonBox*>(button_name);
  ASSERT_NE(buttons, nullptr);
  buttons->button(which)->click();
}

class ConfigSheetTest : public testing::ConfigurationTest {
 protected:
  std::string Path() const { return dir_.File("sheet.ini"); }
  SheetContext Context() const {
    return SheetContext{context_->profile, Path(), context_->locations};
  }
  Configuration Config() const { return Configuration(context_->profile, Path()); }

  // Opens the sheet on `type`, lets `act` work on it and returns whether it
  // closed with OK.
  bool Sheet(std::uint32_t type, std::function<void(QWidget*)> act) {
    WhenModal(std::move(act));
    return EditConfiguration(nullptr, Context(), type);
  }
  bool OkWithoutChange() {
    return Sheet(kNoExportType,
                 [](QWidget* sheet) { Press(sheet, "buttons", QDialogButtonBox::Ok); });
  }
};

TEST_F(ConfigSheetTest, EveryControlledKeyGoesFromItsControlToTheFile) {
  Write(Path(), "[General]\nConfigurationName=Keys\n");
  const std::vector<ConfigKey> keys = ControlledKeys();
  std::vector<std::string> expected;
  ASSERT_TRUE(Sheet(kNoExportType, [&](QWidget* sheet) {
    for (const ConfigKey& k : keys) expected.push_back(Change(sheet, k));
    Press(sheet, "buttons", QDialogButtonBox::Ok);
  }));
  ASSERT_EQ(expected.size(), keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(Config().ReadText(keys[i].section, keys[i].key, "<missing>"), expected[i])
        << NameOf(keys[i]);
  }
}

// What dialogs edit is held by the page and written as read; values a run
// does not take as they are stay as they are.
TEST_F(ConfigSheetTest, HeldAndOutOfRangeValuesAreShownAndKept) {
  Write(Path(),
        "[Computers]\nFilteringType=4104\nPingTTL=300\n"
        "[Services]\nServiceType=7\nServiceColumns=3,1002,0\n"
        "[Users]\nLastLogonType=1\nGetLogonInformation=1\n"
        "[AD]\nPhotoFileOutputPath=/photos\nPhotoFileExtension=png\n"
        "[Network]\nExportNetwork=1\nNetworkOutputFile=net.txt\n"
        "[Templates]\nRegistryTemplates=A;B;\n");
  ASSERT_TRUE(Sheet(kServices, [](QWidget* sheet) {
    auto* ttl = sheet->findChild<QSpinBox*>("Computers/PingTTL");
    ASSERT_NE(ttl, nullptr);
    EXPECT_EQ(ttl->value(), 300);
    EXPECT_FALSE(sheet->findChild<QLabel*>("Computers/PingTTL/marker")->isHidden());
    EXPECT_TRUE(sheet->findChild<QLabel*>("Computers/PingTimeout/marker")->isHidden());
    // Greyed while pinging is off, still shown and kept.
    EXPECT_TRUE(ttl->isEnabled());
    sheet->findChild<QCheckBox*>("Computers/PingEnable")->click();
    EXPECT_FALSE(ttl->isEnabled());
    auto* type = sheet->findChild<QComboBox*>("Services/ServiceType");
    EXPECT_EQ(type->currentData().toInt(), 7);
    EXPECT_FALSE(sheet->findChild<QLabel*>("Services/ServiceType/marker")->isHidden());
    EXPECT_TRUE(type->toolTip().contains("Drivers and Services")) << type->toolTip().toStdString();
    Press(sheet, "buttons", QDialogButtonBox::Ok);
  }));
  const Configuration config = Config();
  const std::pair<const char*, const char*> kept[] = {
      {"Computers/FilteringType", "4104"},    {"Computers/PingTTL", "300"},
      {"Services/ServiceType", "7"},          {"Services/ServiceColumns", "3,1002,0"},
      {"Users/LastLogonType", "1"},           {"Users/GetLogonInformation", "1"},
      {"AD/PhotoFileOutputPath", "/photos"},  {"AD/PhotoFileExtension", "png"},
      {"Network/ExportNetwork", "1"},         {"Network/NetworkOutputFile", "net.txt"},
      {"Templates/RegistryTemplates", "A;B;"}};
  for (const auto& [name, value] : kept) {
    const std::string n = name;
    const std::size_t slash = n.find('/');
    EXPECT_EQ(config.ReadText(n.substr(0, slash), n.substr(slash + 1), ""), value) << n;
  }
}

TEST_F(ConfigSheetTest, CancelLeavesTheFileAsItWas) {
  const std::string before = "; kept as it is\n[General]\nConfigurationName=Cancelled\n";
  Write(Path(), before);
  EXPECT_FALSE(Sheet(kNoExportType, [](QWidget* sheet) {
    for (const ConfigKey& k : ControlledKeys()) Change(sheet, k);
    Press(sheet, "buttons", QDialogButtonBox::Cancel);
  }));
  EXPECT_EQ(Read(Path()), before);
}

// Every file of a run of the sample (all exports and templates), the log's
// lines without their time stamps.
std::map<std::string, std::string> SampleOutput(const std::filesystem::path& output) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(output)) {
    std::string bytes = testing::ScratchDir::ReadFile(entry.path().string());
    if (entry.path().extension() == ".log") {
      std::string lines;
      for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t end = std::min(bytes.find('\n', at), bytes.size());
        const std::size_t tab = bytes.find('\t', at);
        lines += bytes.substr(std::min(tab, end), end - std::min(tab, end)) + "\n";
        at = end + 1;
      }
      bytes = lines;
    }
    files[entry.path().filename().string()] = bytes;
  }
  return files;
}

TEST_F(ConfigSheetTest, OkWithoutAChangeLeavesTheSamplesOutputAsItWas) {
  namespace fs = std::filesystem;
  const fs::path home = dir_.File("sample");
  const fs::path source = TABULON_SOURCE_DIR;
  fs::create_directories(home / "examples" / "output");
  for (const auto& entry : fs::directory_iterator(source / "examples")) {
    if (entry.path().filename() != "output") {
      fs::copy(entry.path(), home / "examples" / entry.path().filename(),
               fs::copy_options::recursive);
    }
  }
  fs::copy(source / "data", home / "data", fs::copy_options::recursive);
  // The sample's paths are relative to the folder it runs from.
  const fs::path was = fs::current_path();
  fs::current_path(home);
  const std::string configuration = (home / "examples" / "sample.ini").string();
  const auto run = [&] {
    RunObserver observer;
    RunControl control;
    run::Run(context_->locations, run::Request{configuration}, observer, control);
    return SampleOutput(home / "examples" / "output");
  };
  const auto before = run();
  WhenModal([](QWidget* sheet) { Press(sheet, "buttons", QDialogButtonBox::Ok); });
  const bool ok = EditConfiguration(
      nullptr, SheetContext{context_->profile, configuration, context_->locations}, kNoExportType);
  const auto after = run();
  fs::current_path(was);
  ASSERT_TRUE(ok);
  EXPECT_GT(before.size(), 30u);
  EXPECT_EQ(after, before);
}

TEST_F(ConfigSheetTest, OpensOnThePageOfTheTypeWithTheConfigurationsName) {
  const struct {
    const char* name;
    std::uint32_t type;
    int page;
    const char* title;
  } cases[] = {
      {"Harrowgate", kNoExportType, 0, "Export Properties for 'Harrowgate'"},
      {"", kGroupMembers, 8, "Export Properties for '<unnamed configuration>'"},
      {"X", kDirectory, 10, "Export Properties for 'X'"},
      {"X", kRights, 14, "Export Properties for 'X'"},
  };
  for (const auto& c : cases) {
    Write(Path(), std::string("[General]\nConfigurationName=") + c.name + "\n");
    Sheet(c.type, [&](QWidget* sheet) {
      EXPECT_EQ(sheet->windowTitle().toStdString(), c.title);
      auto* pages = sheet->findChild<QListWidget*>("pages");
      EXPECT_EQ(pages->count(), 16);
      EXPECT_EQ(pages->currentRow(), c.page) << c.type;
      Press(sheet, "buttons", QDialogButtonBox::Cancel);
    });
  }
}

// The Other page's types: ticks and "Export Properties" edit the values the
// sheet writes on OK.
TEST_F(ConfigSheetTest, OtherExportsAreEditedThroughTheirList) {
  Write(Path(), "[Security]\nExportRights=0\n[Tasks]\nExportTasks=1\n");
  ASSERT_TRUE(Sheet(kRights, [&](QWidget* sheet) {
    auto* list = sheet->findChild<QTreeWidget*>("otherExports");
    ASSERT_NE(list, nullptr);
    QTreeWidgetItem* rights = list->findItems("User Rights", Qt::MatchExactly).value(0);
    QTreeWidgetItem* tasks =
        list->findItems("Scheduled Tasks (Pre-Vista)", Qt::MatchExactly).value(0);
    ASSERT_NE(rights, nullptr);
    ASSERT_NE(tasks, nullptr);
    EXPECT_EQ(tasks->checkState(0), Qt::Checked);
    tasks->setCheckState(0, Qt::Unchecked);
    list->setCurrentItem(rights);
    WhenModal([](QWidget* properties) {
      EXPECT_EQ(properties->windowTitle(), "Export Properties");
      properties->findChild<QCheckBox*>("enableExporting")->click();
      properties->findChild<QLineEdit*>("outputFile")->setText("rights-out.txt");
      Press(properties, "buttons", QDialogButtonBox::Ok);
    });
    sheet->findChild<QPushButton*>("otherProperties")->click();
    EXPECT_EQ(rights->checkState(0), Qt::Checked);
    EXPECT_EQ(rights->text(1), "rights-out.txt");
    Press(sheet, "buttons", QDialogButtonBox::Ok);
  }));
  const Configuration config = Config();
  EXPECT_EQ(config.ReadText("Security", "ExportRights", ""), "1");
  EXPECT_EQ(config.ReadText("Security", "RightsOutputFile", ""), "rights-out.txt");
  EXPECT_EQ(config.ReadText("Tasks", "ExportTasks", ""), "0");
}

}  // namespace
}  // namespace tabulon::ui
