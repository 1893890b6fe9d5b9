// The directory query editor: the keys it writes for each kind of filter,
// the attribute categories it offers, and its rules about the attributes.
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <optional>

#include "engine/messages.h"
#include "tests/ui/configuration_test_fixture.h"
#include "ui/directory_query_dialog.h"
#include "ui/sheet_context.h"

namespace tabulon::ui {
namespace {

constexpr std::string_view kQueries =
    "[Staff]\r\nEnabled=1\r\nOutputFileName=staff.txt\r\nLevel=1\r\nFilter=1\r\n"
    "GetUserGroups=1\r\nGetLogonInformation=1\r\nLastLogonType=0\r\n"
    "SkipSpecifiedDomainControllers=1\r\nUserGroupAttributes=cn,%IS_PRIMARY%\r\n"
    "Attributes=samaccountname,lastlogon,adspath,tse_profilepath\r\n"
    "[Groups]\r\nEnabled=0\r\nOutputFileName=groups.txt\r\nLevel=0\r\nFilter=3\r\n"
    "GetGroupMembers=1\r\nGetIndirectGroupMembers=0\r\nGroupMemberAttributes=cn\r\n"
    "Attributes=cn,adspath\r\n";

constexpr std::string_view kSchema =
    "; attributes by category\r\n102\tsamaccountname\r\n102\ttitle\r\n121\tcn\r\n"
    "121\tdescription\r\n124\ttse_profilepath\tstring\r\nno tab here\r\n";

class DirectoryQueryTest : public testing::ConfigurationTest {
 protected:
  DirectoryQueryTest() {
    Write(DataFile("ad.ini"), "[General]\r\nConfigurationName=AD\r\n");
    Write(DataFile("DirectorySchema.CFG"), kSchema);
    Write(DataFile("DirectoryQueries.CFG"), kQueries);
  }
  TemplateEdit Edit(const std::string& name) {
    return TemplateEdit{nullptr, &context_sheet_, TemplateKind::kDirectory,
                        DataFile("DirectoryQueries.CFG"), name};
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
  // Types `name` into Other and adds it; when `answer` is given 59483 is
  // expected and answered with it. Returns what was asked.
  static std::string AddTyped(QWidget& dialog, const char* name,
                              std::optional<QMessageBox::StandardButton> answer = {}) {
    std::string asked;
    if (answer) {
      testing::WhenModal([&asked, answer](QWidget* box) {
        asked = qobject_cast<QMessageBox*>(box)->text().toStdString();
        qobject_cast<QMessageBox*>(box)->button(*answer)->click();
      });
    }
    Find<QLineEdit>(dialog, "otherAttribute")->setText(name);
    Find<QPushButton>(dialog, "add")->click();
    return asked;
  }
  // Presses OK; with `refusal` expected, returns the message shown.
  static std::string PressOk(QDialog& dialog, bool refusal) {
    std::string shown;
    if (refusal) {
      testing::WhenModal([&shown](QWidget* box) {
        shown = qobject_cast<QMessageBox*>(box)->text().toStdString();
        qobject_cast<QMessageBox*>(box)->accept();
      });
    }
    dialog.accept();
    return shown;
  }

  SheetContext context_sheet_{context_->profile, DataFile("ad.ini"), context_->locations};
};

TEST_F(DirectoryQueryTest, OkOnAnUnchangedQueryLeavesTheFileByteForByte) {
  for (const char* name : {"Staff", "Groups"}) {
    SCOPED_TRACE(name);
    DirectoryQueryDialog dialog(Edit(name), nullptr);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Read(DataFile("DirectoryQueries.CFG")), kQueries);
  }
}

TEST_F(DirectoryQueryTest, TheKeysWrittenFollowTheFilter) {
  const struct {
    int filter;
    const char* options;  // between Filter and Attributes
  } cases[] = {
      {0, ""},
      {4, "GetGroupMembers=1\r\nGetIndirectGroupMembers=0\r\n"},
      {6,
       "GetUserGroups=0\r\nGetLogonInformation=0\r\nLastLogonType=0\r\n"
       "SkipSpecifiedDomainControllers=0\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.filter);
    Write(DataFile("DirectoryQueries.CFG"), kQueries);
    DirectoryQueryDialog dialog(Edit("Groups"), nullptr);
    Find<QCheckBox>(dialog, "enabled")->setChecked(true);
    Find<QLineEdit>(dialog, "queryName")->setText("Renamed");
    Find<QLineEdit>(dialog, "outputFile")->setText("out.txt");
    Find<QRadioButton>(dialog, "subtree")->setChecked(true);
    Find<QListWidget>(dialog, "objectTypes")->setCurrentRow(c.filter);
    auto* attributes = Find<QListWidget>(dialog, "queryAttributes");
    attributes->setCurrentRow(1);
    Find<QPushButton>(dialog, "up")->click();
    AddTyped(dialog, "whenCreated");
    attributes->setCurrentRow(0);
    Find<QPushButton>(dialog, "down")->click();
    PressOk(dialog, false);
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.saved_name(), "Renamed");
    // The member columns were not the editor's to change: they move along.
    EXPECT_EQ(Read(DataFile("DirectoryQueries.CFG")),
              std::string(kQueries.substr(0, kQueries.find("[Groups]"))) +
                  "[Renamed]\r\nEnabled=1\r\nOutputFileName=out.txt\r\nLevel=1\r\nFilter=" +
                  std::to_string(c.filter) + "\r\n" + c.options +
                  "Attributes=cn,adspath,whenCreated\r\nGroupMemberAttributes=cn\r\n");
  }
}

TEST_F(DirectoryQueryTest, CategoriesComeFromTheSchemaFileAndTheSymbols) {
  DirectoryQueryDialog dialog(Edit(""), nullptr);
  auto* category = Find<QComboBox>(dialog, "attributeCategory");
  auto* available = Find<QListWidget>(dialog, "categoryAttributes");
  EXPECT_EQ(category->currentText(), "General Attributes");
  EXPECT_EQ(Items(available), QStringList({"cn", "description"}));
  category->setCurrentIndex(category->findText("User Attributes"));
  EXPECT_EQ(Items(available), QStringList({"samaccountname", "title"}));
  category->setCurrentIndex(category->findText("Terminal Server Attributes"));
  EXPECT_EQ(Items(available), QStringList({"tse_profilepath"}));
  category->setCurrentIndex(category->findText("Predefined Symbols"));
  EXPECT_EQ(available->count(), 9);
  EXPECT_FALSE(available->findItems("%OBJECT_NAME%", Qt::MatchExactly).isEmpty());
  // A new query starts with the attribute a run takes without any.
  EXPECT_EQ(Items(Find<QListWidget>(dialog, "queryAttributes")), QStringList({"name"}));
}

TEST_F(DirectoryQueryTest, TerminalServerAttributesNeedSamAccountName) {
  DirectoryQueryDialog dialog(Edit(""), nullptr);
  auto* attributes = Find<QListWidget>(dialog, "queryAttributes");
  EXPECT_EQ(AddTyped(dialog, "tse_homedir", QMessageBox::No), MessageText(kMsgAddSamAccountName));
  EXPECT_EQ(Items(attributes), QStringList({"name", "tse_homedir"}));
  EXPECT_EQ(AddTyped(dialog, "TSE_profilepath", QMessageBox::Yes),
            MessageText(kMsgAddSamAccountName));
  EXPECT_EQ(Items(attributes),
            QStringList({"name", "tse_homedir", "samaccountname", "TSE_profilepath"}));
  AddTyped(dialog, "tse_workdir");
  AddTyped(dialog, "SAMACCOUNTNAME");  // already there
  EXPECT_EQ(attributes->count(), 5);

  attributes->setCurrentRow(2);
  std::string refused;
  testing::WhenModal([&refused](QWidget* box) {
    refused = qobject_cast<QMessageBox*>(box)->text().toStdString();
    qobject_cast<QMessageBox*>(box)->accept();
  });
  Find<QPushButton>(dialog, "delete")->click();
  EXPECT_EQ(refused, MessageText(kMsgSamAccountNameRequiredByTse));
  EXPECT_EQ(attributes->count(), 5);
  attributes->setCurrentRow(0);
  Find<QPushButton>(dialog, "delete")->click();
  EXPECT_EQ(Items(attributes),
            QStringList({"tse_homedir", "samaccountname", "TSE_profilepath", "tse_workdir"}));
}

TEST_F(DirectoryQueryTest, OkRefusesMembershipsAndLogonsWithoutTheirAttributes) {
  const struct {
    const char* keys;
    const char* attributes;
    std::string_view refusal;  // empty: saved
  } cases[] = {
      {"Filter=2\r\nGetGroupMembers=1", "cn", MessageText(kMsgAdsPathRequired)},
      {"Filter=1\r\nGetUserGroups=1", "cn", MessageText(kMsgAdsPathRequired)},
      {"Filter=7\r\nGetGroupMembers=1\r\nGetUserGroups=1", "cn", ""},
      {"Filter=2\r\nGetGroupMembers=1", "cn,ADsPath", ""},
      {"Filter=1\r\nGetLogonInformation=1", "samaccountname,cn",
       MessageText(kMsgLogonAttributesRequired)},
      {"Filter=6\r\nGetLogonInformation=1", "cn,badpwdcount",
       MessageText(kMsgSamAccountNameRequiredByLogon)},
      {"Filter=1\r\nGetLogonInformation=1\r\nLastLogonType=1", "cn", ""},
      {"Filter=1\r\nGetLogonInformation=1", "logoncount,SamAccountName", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.keys) + " / " + c.attributes);
    Write(DataFile("DirectoryQueries.CFG"), std::string("[Q]\r\nOutputFileName=q.txt\r\n") +
                                                c.keys + "\r\nAttributes=" + c.attributes + "\r\n");
    DirectoryQueryDialog dialog(Edit("Q"), nullptr);
    EXPECT_EQ(PressOk(dialog, !c.refusal.empty()), c.refusal);
    EXPECT_EQ(dialog.result(), c.refusal.empty() ? QDialog::Accepted : QDialog::Rejected);
  }
}

}  // namespace
}  // namespace tabulon::ui
