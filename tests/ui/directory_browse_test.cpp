// The browse dialogs against the sample estate's LDIF directory.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>

#include "engine/object_file.h"
#include "support/scoped_env.h"
#include "ui/directory_browse_dialog.h"

namespace tabulon::ui {
namespace {

namespace fs = std::filesystem;

class DirectoryBrowseTest : public ::testing::Test {
 protected:
  // `platform` is the configuration's [Platform] section.
  void Configure(const std::string& platform) {
    const std::string path = (dir_ / "browse.ini").string();
    std::ofstream(path) << "[Platform]\n" << platform;
    context_.configuration = path;
  }
  void ConfigureEstate() {
    Configure("Estate=" TABULON_SOURCE_DIR "/examples/sample.estate.json\n");
  }
  ~DirectoryBrowseTest() override { fs::remove_all(dir_); }

  // Searches `domain` and returns the rows as "name|path".
  std::vector<std::string> Search(DirectorySearchDialog& dialog, const QString& domain) {
    dialog.findChild<QLineEdit*>("domainEdit")->setText(domain);
    QSignalSpy finished(&dialog, &DirectorySearchDialog::searchFinished);
    dialog.findChild<QPushButton*>("searchButton")->click();
    EXPECT_TRUE(finished.wait(20000));
    std::vector<std::string> rows;
    auto* list = dialog.findChild<QTreeWidget*>("resultList");
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
      rows.push_back(
          (list->topLevelItem(i)->text(0) + "|" + list->topLevelItem(i)->text(1)).toStdString());
    }
    return rows;
  }

  fs::path dir_ = fs::temp_directory_path() /
                  ("directory_browse_" +
                   std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  bool made_ = fs::create_directories(dir_);
  testing::ScopedEnv config_home_{"XDG_CONFIG_HOME", (dir_ / "config").c_str()};
  testing::ScopedEnv data_home_{"XDG_DATA_HOME", (dir_ / "data").c_str()};
  WindowContext context_{run::Locations{}, (dir_ / "settings.ini").string()};
};

TEST_F(DirectoryBrowseTest, EachPickerListsItsClass) {
  ConfigureEstate();
  const struct {
    std::uint32_t type;
    std::vector<std::string> rows;
  } cases[] = {
      {kObjectContainer,
       {"Workshop|LDAP://OU=Workshop,DC=harrowgate,DC=example",
        "Servers|LDAP://OU=Servers,DC=harrowgate,DC=example",
        "Schema|LDAP://CN=Schema,CN=Configuration,DC=harrowgate,DC=example",
        "Staff|LDAP://OU=Staff,DC=harrowgate,DC=example"}},
      {kObjectDirectoryUser,
       {"Maud Tanner|LDAP://CN=Maud Tanner,OU=Staff,DC=harrowgate,DC=example",
        "Owen Hale|LDAP://CN=Owen Hale,OU=Staff,DC=harrowgate,DC=example"}},
      {kObjectDirectoryGroup,
       {"Domain Users|LDAP://CN=Domain Users,OU=Staff,DC=harrowgate,DC=example",
        "Workshop Leads|LDAP://CN=Workshop Leads,OU=Staff,DC=harrowgate,DC=example"}},
      {kObjectDirectoryComputer,
       {"HGWS003|LDAP://CN=HGWS003,OU=Workshop,DC=harrowgate,DC=example",
        "HGWS004|LDAP://CN=HGWS004,OU=Workshop,DC=harrowgate,DC=example",
        "HGWS009|LDAP://CN=HGWS009,OU=Workshop,DC=harrowgate,DC=example",
        "HGSQL01|LDAP://CN=HGSQL01,OU=Servers,DC=harrowgate,DC=example"}},
      {kObjectDirectoryContact, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    DirectorySearchDialog dialog(nullptr, context_, c.type);
    EXPECT_EQ(Search(dialog, "harrowgate.example"), c.rows);
  }
}

TEST_F(DirectoryBrowseTest, FindOuReturnsTheChosenPathAndRemembersTheDomain) {
  ConfigureEstate();
  {
    DirectorySearchDialog dialog(nullptr, context_, kObjectContainer);
    auto* ok = dialog.findChild<QDialogButtonBox*>("buttons")->button(QDialogButtonBox::Ok);
    ASSERT_EQ(Search(dialog, " harrowgate.example ").size(), 4u);
    EXPECT_FALSE(ok->isEnabled());
    auto* list = dialog.findChild<QTreeWidget*>("resultList");
    list->setCurrentItem(list->topLevelItem(1));
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(dialog.SelectedPath(), "LDAP://OU=Servers,DC=harrowgate,DC=example");
  }
  EXPECT_EQ(context_.settings.Get("LastDomainOuSearch"), "harrowgate.example");
  DirectorySearchDialog again(nullptr, context_, kObjectContainer);
  EXPECT_EQ(again.findChild<QLineEdit*>("domainEdit")->text(), "harrowgate.example");
}

TEST_F(DirectoryBrowseTest, AFailedSearchShowsTheDirectoryError) {
  ConfigureEstate();
  DirectorySearchDialog dialog(nullptr, context_, kObjectContainer);
  EXPECT_TRUE(Search(dialog, "nowhere.example").empty());
  const std::string status = dialog.findChild<QLabel*>("statusLabel")->text().toStdString();
  EXPECT_TRUE(status.starts_with("Unable to open directory object 'LDAP://DC=nowhere,DC=example'"))
      << status;
}

TEST_F(DirectoryBrowseTest, TheDomainBrowserListsTheEstatesDirectoryDomains) {
  ConfigureEstate();
  DomainBrowserDialog dialog(nullptr, context_);
  QSignalSpy listed(&dialog, &DomainBrowserDialog::domainsListed);
  ASSERT_TRUE(listed.wait(20000));
  auto* list = dialog.findChild<QListWidget*>("domainList");
  ASSERT_EQ(list->count(), 1);
  EXPECT_EQ(list->item(0)->text(), "harrowgate.example");
  list->setCurrentRow(0);
  EXPECT_EQ(dialog.Domain(), "harrowgate.example");
}

TEST_F(DirectoryBrowseTest, WithoutAListTheDomainIsTyped) {
  testing::ScopedEnv no_tickets("KRB5CCNAME", ("FILE:" + (dir_ / "none").string()).c_str());
  Configure("");
  DomainBrowserDialog dialog(nullptr, context_);
  QSignalSpy listed(&dialog, &DomainBrowserDialog::domainsListed);
  ASSERT_TRUE(listed.wait(20000));
  EXPECT_EQ(dialog.findChild<QListWidget*>("domainList")->count(), 0);
  EXPECT_TRUE(dialog.findChild<QLabel*>("noteLabel")->text().contains("cannot be listed"));
  auto* ok = dialog.findChild<QDialogButtonBox*>("buttons")->button(QDialogButtonBox::Ok);
  EXPECT_FALSE(ok->isEnabled());
  dialog.findChild<QLineEdit*>("domainEdit")->setText("corp.example");
  EXPECT_TRUE(ok->isEnabled());
  EXPECT_EQ(dialog.Domain(), "corp.example");
}

}  // namespace
}  // namespace tabulon::ui
