// Choosing the columns of an export type: the list as read, edited and
// written back, and the dialog over two types.
#include <QComboBox>
#include <QDialog>
#include <QListWidget>
#include <QPushButton>

#include "engine/catalogue.h"
#include "tests/ui/configuration_test_fixture.h"
#include "ui/column_choice.h"
#include "ui/column_chooser.h"

namespace tabulon::ui {
namespace {

std::vector<std::uint32_t> Chosen(const ColumnChoiceModel& model) {
  std::vector<std::uint32_t> columns;
  for (const ChosenColumn& c : model.chosen()) columns.push_back(c.column);
  return columns;
}

TEST(ColumnChoiceTest, AnUntouchedListIsWrittenBackAsRead) {
  struct Case {
    const char* text;
    std::vector<std::uint32_t> columns;
  } cases[] = {
      {"", {}},
      {"1002,0,3,1015", {1002, 0, 3, 1015}},
      {"3,1003,3", {3, 1003, 3}},           // duplicates stay
      {"7,,x,-1", {7, 0, 0, 4294967295u}},  // read as a run reads them
  };
  for (const Case& c : cases) {
    const ColumnChoiceModel model(kServices, c.text);
    EXPECT_EQ(Chosen(model), c.columns) << c.text;
    EXPECT_EQ(model.Text(), c.text);
  }
}

TEST(ColumnChoiceTest, MovesGiveTheListInOutputOrder) {
  ColumnChoiceModel model(kServices, "1002,0,3,3");
  // The eight service fields and the nine symbols of every type, less the chosen.
  EXPECT_EQ(model.Available(), (std::vector<std::uint32_t>{1, 2, 4, 5, 6, 7, 1003, 1004, 1005, 1006,
                                                           1012, 1013, 1014, 1015}));
  model.Remove(2);
  EXPECT_EQ(model.Available().front(), 1u);  // column 3 is still chosen once
  EXPECT_EQ(model.Add(5, 0), 0u);
  EXPECT_TRUE(model.MoveDown(0));
  EXPECT_FALSE(model.MoveUp(0));
  EXPECT_FALSE(model.MoveDown(3));
  EXPECT_EQ(model.Add(1004, 99), 4u);
  EXPECT_EQ(model.Text(), "1002,5,0,3,1004");
  model.Remove(3);
  EXPECT_EQ(model.Text(), "1002,5,0,1004");
  EXPECT_EQ(model.Available()[2], 3u);
  EXPECT_EQ(ColumnTitle(kServices, 1004), "Object_Comment");
  EXPECT_EQ(ColumnTitle(kServices, 8), "Unknown column 8");
}

using ColumnChooserTest = testing::ConfigurationTest;

TEST_F(ColumnChooserTest, CloseStoresBothTypesAndCancelNothing) {
  std::vector<ColumnChoice> choices{{kGroups, "1002,0"}, {kGroupMembers, ""}};
  testing::WhenModal([](QWidget* dialog) {
    auto* available = dialog->findChild<QListWidget*>("availableFields");
    auto* add = dialog->findChild<QPushButton*>("addFieldButton");
    available->setCurrentRow(0);  // column 1, after the selected first row
    add->click();
    dialog->findChild<QComboBox*>("exportTypeCombo")->setCurrentIndex(1);
    available->setCurrentRow(0);
    add->click();
    dialog->findChild<QPushButton*>("closeButton")->click();
  });
  ASSERT_TRUE(ChooseColumns(nullptr, choices));
  EXPECT_EQ(choices[0].columns, "1002,1,0");
  EXPECT_EQ(choices[1].columns, "0");

  testing::WhenModal([](QWidget* dialog) {
    dialog->findChild<QPushButton*>("removeFieldButton")->click();
    qobject_cast<QDialog*>(dialog)->reject();
  });
  EXPECT_FALSE(ChooseColumns(nullptr, choices));
  EXPECT_EQ(choices[0].columns, "1002,1,0");
}

}  // namespace
}  // namespace tabulon::ui
