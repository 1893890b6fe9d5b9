// The option dialogs keep what they do not show and what the user left.
#include <QCheckBox>
#include <QDialog>
#include <QPushButton>
#include <QRadioButton>

#include "engine/config_key_table.h"
#include "tests/ui/configuration_test_fixture.h"
#include "ui/option_dialogs.h"

namespace tabulon::ui {
namespace {

using OptionDialogsTest = testing::ConfigurationTest;

void Accept(QWidget* dialog) {
  qobject_cast<QDialog*>(dialog)->accept();
}

TEST_F(OptionDialogsTest, ComputerFilterKeepsBitsItDoesNotShow) {
  std::int32_t table_bits = 0;
  for (const KeyChoice& flag : key_table::kComputerFilterFlags) table_bits |= flag.value;
  constexpr std::int32_t kUnknown = 0x10000000;
  // PDC, and one of the two cluster bits: that box shows partly checked.
  constexpr std::int32_t kRead = kUnknown | 0x8 | 0x1000000;
  struct Case {
    const char* button;  // pressed before OK; none: left as shown
    std::int32_t written;
  } cases[] = {
      {nullptr, kRead},
      {"enableAllButton", kUnknown | table_bits},
      {"disableAllButton", kUnknown},
  };
  for (const Case& c : cases) {
    std::int32_t value = kRead;
    testing::WhenModal([&c](QWidget* dialog) {
      EXPECT_EQ(dialog->findChild<QCheckBox*>("filterFlag5000000")->checkState(),
                Qt::PartiallyChecked);
      if (c.button != nullptr) dialog->findChild<QPushButton*>(c.button)->click();
      Accept(dialog);
    });
    ASSERT_TRUE(EditComputerFilter(nullptr, value));
    EXPECT_EQ(value, c.written) << (c.button ? c.button : "untouched");
  }
}

TEST_F(OptionDialogsTest, ControllerChoicesFollowTheAllControllersBox) {
  ControllerOptions options{0, 7, 3, 0};
  testing::WhenModal([](QWidget* dialog) {
    auto* each = dialog->findChild<QRadioButton*>("eachController");
    EXPECT_TRUE(each->isChecked());  // 7 stands for each controller
    EXPECT_FALSE(each->isEnabled());
    dialog->findChild<QCheckBox*>("allDomainControllers")->click();
    EXPECT_TRUE(each->isEnabled());
    Accept(dialog);
  });
  ASSERT_TRUE(EditControllerOptions(nullptr, AccountKind::kComputer, options));
  // Untouched values stay as read; the changed box is written as 1.
  EXPECT_EQ(options.all_controllers, 1);
  EXPECT_EQ(options.last_logon_type, 7);
  EXPECT_EQ(options.skip_listed, 3);

  testing::WhenModal([](QWidget* dialog) {
    dialog->findChild<QRadioButton*>("combinedLogon")->click();
    dialog->findChild<QCheckBox*>("groupAssignments")->click();
    Accept(dialog);
  });
  ASSERT_TRUE(EditControllerOptions(nullptr, AccountKind::kUser, options));
  EXPECT_EQ(options.last_logon_type, 0);
  EXPECT_EQ(options.group_assignments, 1);
}

}  // namespace
}  // namespace tabulon::ui
