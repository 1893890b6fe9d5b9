// The WMI template editor against a small estate: the keys it writes, and
// the classes and properties it browses.
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

#include "engine/messages.h"
#include "tests/ui/configuration_test_fixture.h"
#include "ui/sheet_context.h"
#include "ui/template_editor.h"
#include "ui/wmi_template_dialog.h"

namespace tabulon::ui {
namespace {

constexpr std::string_view kEstate = R"({
  "local_computer": "ADMIN01",
  "computers": [
    {"name": "ADMIN01", "wmi": {"classes": [
      {"name": "Win32_OperatingSystem", "description": "An operating system.\r\nOne per computer.",
       "properties": {"Caption": "string", "Version": "string", "__PATH": "string"},
       "property_descriptions": {"Caption": "A short description."}},
      {"name": "Win32_LogicalDisk", "properties": {"DeviceID": "string"}},
      {"name": "Win32_DiskDrive", "properties": {"Model": "string"}}]}},
    {"name": "SERVER2", "wmi": {"classes": [
      {"name": "Win32_BIOS", "properties": {"SerialNumber": "string"}}]}},
    {"name": "OLDNT", "failures": {"ConnectServer": "REGDB_E_CLASSNOTREG"}}
  ]
})";

constexpr std::string_view kTemplates =
    "[Operating System]\r\nEnabled=1\r\nOutputFileName=os.txt\r\n"
    "OutputColumns=%OBJECT_NAME%,,Caption\r\nObjectClass=Win32_OperatingSystem\r\n"
    "Where=Primary = TRUE\r\nTimeoutSeconds=600\r\n"
    "[Disks]\r\nEnabled=0\r\nOutputFileName=disks.txt\r\nOutputColumns=DeviceID\r\n"
    "ObjectClass=Win32_LogicalDisk\r\nWhere=\r\nTimeoutSeconds=10\r\n";

class WmiTemplateTest : public testing::ConfigurationTest {
 protected:
  // A configuration over the estate whose WMI page names `reference`.
  SheetContext Context(const std::string& reference) {
    Write(DataFile("estate.json"), kEstate);
    Write(DataFile("wmi.ini"), "[Platform]\r\nEstate=" + DataFile("estate.json") +
                                   "\r\n[WMI]\r\nReferenceComputer=" + reference + "\r\n");
    return SheetContext{context_->profile, DataFile("wmi.ini"), context_->locations};
  }
  TemplateEdit Edit(const SheetContext& context, const std::string& name) {
    Write(DataFile("WmiQueries.CFG"), kTemplates);
    return TemplateEdit{nullptr, &context, TemplateKind::kWmi, DataFile("WmiQueries.CFG"), name};
  }
  template <typename Widget>
  static Widget* Find(QWidget& dialog, const char* name) {
    auto* widget = dialog.findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  static QStringList Items(QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
    return items;
  }
};

TEST_F(WmiTemplateTest, OkOnAnUnchangedTemplateLeavesTheFileByteForByte) {
  const SheetContext context = Context("");
  for (const char* name : {"Operating System", "Disks"}) {
    SCOPED_TRACE(name);
    WmiTemplateDialog dialog(Edit(context, name), nullptr);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.saved_name(), name);
    EXPECT_EQ(Read(DataFile("WmiQueries.CFG")), kTemplates);
  }
}

TEST_F(WmiTemplateTest, ATimeoutOutsideItsRangeIsShownMarkedAndKept) {
  const SheetContext context = Context("");
  WmiTemplateDialog dialog(Edit(context, "Operating System"), nullptr);
  EXPECT_EQ(Find<QSpinBox>(dialog, "timeoutSeconds")->value(), 600);
  EXPECT_FALSE(Find<QLabel>(dialog, "timeoutMarker")->isHidden());
  Find<QSpinBox>(dialog, "timeoutSeconds")->setValue(300);
  EXPECT_TRUE(Find<QLabel>(dialog, "timeoutMarker")->isHidden());
}

TEST_F(WmiTemplateTest, EveryFieldEditedIsWrittenAndARenameMovesTheSection) {
  const SheetContext context = Context("");
  WmiTemplateDialog dialog(Edit(context, "Operating System"), nullptr);
  Find<QCheckBox>(dialog, "enabled")->setChecked(false);
  Find<QLineEdit>(dialog, "templateName")->setText(" OS ");
  Find<QLineEdit>(dialog, "outputFile")->setText("os-%YYYY%.txt");
  Find<QLineEdit>(dialog, "where")->setText("Version LIKE '10.%'");
  Find<QSpinBox>(dialog, "timeoutSeconds")->setValue(45);
  Find<QComboBox>(dialog, "objectClass")->setEditText("win32_operatingsystem");
  Find<QPushButton>(dialog, "showProperties")->click();
  auto* available = Find<QListWidget>(dialog, "classProperties");
  ASSERT_EQ(Items(available), QStringList({"Caption", "Version", "__PATH"}));
  available->item(1)->setSelected(true);
  available->item(2)->setSelected(true);
  Find<QPushButton>(dialog, "add")->click();
  auto* query = Find<QListWidget>(dialog, "queryProperties");
  query->setCurrentRow(1);  // the empty column
  Find<QPushButton>(dialog, "remove")->click();
  query->setCurrentRow(2);  // Version
  Find<QPushButton>(dialog, "up")->click();
  query->setCurrentRow(0);
  Find<QPushButton>(dialog, "down")->click();
  testing::WhenModal([](QWidget* picker) {
    auto* list = picker->findChild<QTreeWidget*>("symbolList");
    list->setCurrentItem(list->topLevelItem(1));
    picker->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  });
  Find<QPushButton>(dialog, "symbol")->click();
  const QString symbol = query->item(query->count() - 1)->text();
  ASSERT_TRUE(symbol.startsWith('%')) << symbol.toStdString();
  dialog.accept();
  ASSERT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.saved_name(), "OS");
  EXPECT_EQ(Read(DataFile("WmiQueries.CFG")),
            "[Disks]\r\nEnabled=0\r\nOutputFileName=disks.txt\r\nOutputColumns=DeviceID\r\n"
            "ObjectClass=Win32_LogicalDisk\r\nWhere=\r\nTimeoutSeconds=10\r\n"
            "[OS]\r\nEnabled=0\r\nOutputFileName=os-%YYYY%.txt\r\n"
            "OutputColumns=Version,%OBJECT_NAME%,Caption,__PATH," +
                symbol.toStdString() +
                "\r\nObjectClass=win32_operatingsystem\r\nWhere=Version LIKE '10.%'\r\n"
                "TimeoutSeconds=45\r\n");
}

TEST_F(WmiTemplateTest, ANewTemplateNeedsANameAndAnOutputFile) {
  const SheetContext context = Context("");
  WmiTemplateDialog dialog(Edit(context, ""), nullptr);
  auto* ok = Find<QDialogButtonBox>(dialog, "buttons")->button(QDialogButtonBox::Ok);
  EXPECT_TRUE(Find<QCheckBox>(dialog, "enabled")->isChecked());
  EXPECT_FALSE(ok->isEnabled());
  Find<QLineEdit>(dialog, "templateName")->setText("BIOS");
  EXPECT_FALSE(ok->isEnabled());
  Find<QLineEdit>(dialog, "outputFile")->setText("  ");
  EXPECT_FALSE(ok->isEnabled());
  Find<QLineEdit>(dialog, "outputFile")->setText("bios.txt");
  EXPECT_TRUE(ok->isEnabled());
  dialog.accept();
  EXPECT_EQ(Read(DataFile("WmiQueries.CFG")),
            std::string(kTemplates) +
                "[BIOS]\r\nEnabled=1\r\nOutputFileName=bios.txt\r\nOutputColumns=\r\n"
                "ObjectClass=\r\nWhere=\r\nTimeoutSeconds=10\r\n");
}

TEST_F(WmiTemplateTest, TheReferenceComputersClassesAndProperties) {
  {
    // Blank is the computer the program runs on: the estate's own.
    WmiBrowser browser(Context("").configuration, Data(), "");
    const WmiClassListing listing = browser.Classes();
    EXPECT_EQ(listing.error, "");
    EXPECT_EQ(listing.classes, (std::vector<std::string>{"Win32_DiskDrive", "Win32_LogicalDisk",
                                                         "Win32_OperatingSystem"}));
    EXPECT_EQ(FindClasses(listing.classes, "DISK"),
              (std::vector<std::string>{"Win32_DiskDrive", "Win32_LogicalDisk"}));
    EXPECT_TRUE(FindClasses(listing.classes, "Printer").empty());

    const WmiPropertyListing os = browser.Properties("Win32_OperatingSystem");
    EXPECT_EQ(os.error, "");
    EXPECT_EQ(os.class_description, "An operating system.\nOne per computer.");
    std::vector<std::string> shown;
    for (const WmiPropertyInfo& p : os.properties) shown.push_back(p.name + ": " + p.description);
    EXPECT_EQ(shown, (std::vector<std::string>{"Caption: A short description.",
                                               "Version: WMI Description Not Defined",
                                               "__PATH: WMI System Property"}));
    const WmiPropertyListing missing = browser.Properties("Win32_Nothing");
    EXPECT_TRUE(missing.properties.empty());
    EXPECT_TRUE(
        missing.error.starts_with(FormatMessageId(kMsgWmiClassProperties, {"Win32_Nothing"})));
  }
  WmiBrowser server(Context("SERVER2").configuration, Data(), "SERVER2");
  EXPECT_EQ(server.Classes().classes, std::vector<std::string>{"Win32_BIOS"});
}

TEST_F(WmiTemplateTest, AComputerWithoutWmiGivesTheConnectMessage) {
  WmiBrowser browser(Context("OLDNT").configuration, Data(), "OLDNT");
  const WmiClassListing listing = browser.Classes();
  EXPECT_TRUE(listing.classes.empty());
  const std::string connect = FormatMessageId(kMsgWmiConnect, {"\\\\OLDNT"});
  EXPECT_TRUE(listing.error.starts_with(connect) && listing.error.size() > connect.size())
      << listing.error;

  // The editor says so and lists nothing.
  const SheetContext context = Context("OLDNT");
  WmiTemplateDialog dialog(Edit(context, "Disks"), nullptr);
  std::string shown;
  testing::WhenModal([&shown](QWidget* box) {
    shown = qobject_cast<QMessageBox*>(box)->text().toStdString();
    qobject_cast<QMessageBox*>(box)->accept();
  });
  Find<QPushButton>(dialog, "showProperties")->click();
  EXPECT_TRUE(shown.starts_with(connect)) << shown;
  EXPECT_EQ(Find<QListWidget>(dialog, "classProperties")->count(), 0);
}

// Calls `act` once `ready` holds (or after ten seconds), polling from the
// event loop rather than waiting in a loop of its own.
void WhenTrue(std::function<bool()> ready, std::function<void()> act, int tries = 1000) {
  if (ready() || tries == 0) {
    act();
    return;
  }
  QTimer::singleShot(10, [ready = std::move(ready), act = std::move(act), tries]() mutable {
    WhenTrue(std::move(ready), std::move(act), tries - 1);
  });
}

TEST_F(WmiTemplateTest, TheClassBrowserFindsAndChoosesAClass) {
  const SheetContext context = Context("");
  WmiTemplateDialog dialog(Edit(context, "Disks"), nullptr);
  std::string not_found;
  testing::WhenModal([&not_found](QWidget* browser) {
    auto* classes = browser->findChild<QListWidget*>("classList");
    // The classes come from a thread through the browser's own event loop:
    // waiting here in a nested loop would hold them up.
    WhenTrue([classes] { return classes->count() == 3; },
             [&not_found, browser, classes] {
               if (classes->count() != 3) {
                 ADD_FAILURE() << "the browser lists " << classes->count() << " classes";
                 qobject_cast<QDialog*>(browser)->reject();
                 return;
               }
               browser->findChild<QLineEdit*>("findClass")->setText("zzz");
               testing::WhenModal([&not_found](QWidget* box) {
                 not_found = qobject_cast<QMessageBox*>(box)->text().toStdString();
                 qobject_cast<QMessageBox*>(box)->accept();
                 testing::WhenModal([](QWidget* again) {
                   again->findChild<QLineEdit*>("findClass")->setText("operating");
                   again->findChild<QPushButton*>("findButton")->click();
                   auto* list = again->findChild<QListWidget*>("classList");
                   EXPECT_EQ(list->count(), 1);
                   qobject_cast<QDialog*>(again)->accept();
                 });
               });
               browser->findChild<QPushButton*>("findButton")->click();
             });
  });
  Find<QPushButton>(dialog, "browseClasses")->click();
  EXPECT_EQ(not_found, MessageText(kMsgWmiNoClass));
  EXPECT_EQ(Find<QComboBox>(dialog, "objectClass")->currentText(), "Win32_OperatingSystem");
  EXPECT_EQ(Find<QListWidget>(dialog, "classProperties")->count(), 3);
}

TEST_F(WmiTemplateTest, EditTemplateOpensTheWmiEditor) {
  const SheetContext context = Context("");
  testing::WhenModal([](QWidget* dialog) {
    EXPECT_EQ(dialog->objectName(), "wmiTemplateDialog");
    qobject_cast<QDialog*>(dialog)->accept();
  });
  std::string saved;
  EXPECT_TRUE(EditTemplate(Edit(context, "Disks"), saved));
  EXPECT_EQ(saved, "Disks");
}

}  // namespace
}  // namespace tabulon::ui
