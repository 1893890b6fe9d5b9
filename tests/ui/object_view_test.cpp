// The object tree's edits, checked as the object file they save.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "engine/messages.h"
#include "support/scoped_env.h"
#include "ui/object_properties_dialog.h"
#include "ui/object_view.h"

namespace tabulon::ui {
namespace {

namespace fs = std::filesystem;

// One object-file line, as text.
std::string Line(int number, int parent, int type, bool active, const std::string& name,
                 const std::string& comment, const std::string& path) {
  return std::to_string(number) + "\t" + std::to_string(parent) + "\t" + std::to_string(type) +
         "\t" + (active ? "1" : "0") + "\treserved\treserved\t" + name + "\t" + comment + "\t" +
         path + "\r\n";
}

// The object file as text: FF FE checked and the UTF-16LE of ASCII undone.
std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  if (bytes.size() < 2 || bytes.substr(0, 2) != "\xFF\xFE") return "<no FF FE>";
  std::string text;
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    if (bytes[i + 1] != '\0') return "<not ASCII>";
    text += bytes[i];
  }
  return text;
}

// Runs `answer` on the next modal dialog once it is open.
void AnswerModal(std::function<void(QWidget*)> answer) {
  QTimer::singleShot(0, [answer] {
    if (QWidget* modal = QApplication::activeModalWidget()) return answer(modal);
    AnswerModal(answer);
  });
}

// Fills the Object Properties dialog and presses OK.
void FillProperties(QWidget* dialog, int type, const QString& name, const QString& path) {
  auto* combo = dialog->findChild<QComboBox*>("objectTypeCombo");
  if (type != 0) combo->setCurrentIndex(combo->findData(type));
  dialog->findChild<QLineEdit*>("displayNameEdit")->setText(name);
  if (!path.isEmpty()) dialog->findChild<QLineEdit*>("pathEdit")->setText(path);
  dialog->findChild<QDialogButtonBox*>("buttons")->button(QDialogButtonBox::Ok)->click();
}

// WS1, G1 {C1 (inactive), C2}, G2 {}, SRV (file server).
std::vector<ObjectListItem> StartList() {
  return {
      {24, true, "WS1", "", "\\\\WS1", {}},
      {51,
       true,
       "G1",
       "",
       "n/a",
       {{33, false, "C1", "", "\\\\C1", {}}, {33, true, "C2", "", "\\\\C2", {}}}},
      {51, true, "G2", "", "n/a", {}},
      {33, true, "SRV", "file server", "\\\\SRV", {}},
  };
}

const std::string kWs1 = "WS1\t\t\\\\WS1";
const std::string kSrv = "SRV\tfile server\t\\\\SRV";

// Lines given as "parent type active rest" shorthand are numbered in order.
std::string Lines(const std::vector<std::tuple<int, int, bool, std::string>>& lines) {
  std::string text;
  int number = 1;
  for (const auto& [parent, type, active, rest] : lines) {
    text += std::to_string(number++) + "\t" + std::to_string(parent) + "\t" + std::to_string(type) +
            "\t" + (active ? "1" : "0") + "\treserved\treserved\t" + rest + "\r\n";
  }
  return text;
}

class ObjectViewTest : public ::testing::Test {
 public:
  ObjectViewTest()
      : config_home_("XDG_CONFIG_HOME", (dir_ / "config").c_str()),
        data_home_("XDG_DATA_HOME", (dir_ / "data").c_str()),
        context_(run::Locations{}, (dir_ / "settings.ini").string()),
        view_(context_) {
    EXPECT_EQ(WriteObjectFile(file_, StartList()), win::ERROR_SUCCESS);
    original_ = FileText(file_);
    EXPECT_EQ(view_.Load(file_), win::ERROR_SUCCESS);
  }
  ~ObjectViewTest() override { fs::remove_all(dir_); }

  // The index of a top-level row, or of a child row of it.
  QModelIndex At(int top, int child = -1) {
    const QModelIndex parent = view_.model()->index(top, 0);
    return child < 0 ? parent : view_.model()->index(child, 0, parent);
  }
  std::string Saved() {
    EXPECT_TRUE(view_.SaveIfModified());
    return FileText(file_);
  }

  fs::path dir_ =
      fs::temp_directory_path() /
      ("object_view_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
       ::testing::UnitTest::GetInstance()->current_test_info()->name());
  bool made_ = fs::create_directories(dir_);
  std::string file_ = (dir_ / "objects.dat").string();
  testing::ScopedEnv config_home_;
  testing::ScopedEnv data_home_;
  WindowContext context_;
  ObjectView view_;
  std::string original_;
};

TEST_F(ObjectViewTest, ItemTextShowsTheCommentInParentheses) {
  EXPECT_EQ(At(0).data().toString(), "WS1");
  EXPECT_EQ(At(3).data().toString(), "SRV (file server)");
}

struct EditCase {
  const char* name;
  std::function<void(ObjectViewTest&, ObjectView&)> edit;
  std::vector<std::tuple<int, int, bool, std::string>> expected;  // empty: unchanged
};

class ObjectEditTest : public ObjectViewTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(ObjectEditTest, SavesTheEditedList) {
  GetParam().edit(*this, view_);
  const std::string expected = GetParam().expected.empty() ? original_ : Lines(GetParam().expected);
  EXPECT_EQ(Saved(), expected);
}

using T = ObjectViewTest;
using V = ObjectView;

INSTANTIATE_TEST_SUITE_P(
    Edits, ObjectEditTest,
    ::testing::Values(
        EditCase{"MoveUpWithinGrouping",
                 [](T& fx, V& ov) {
                   ov.setCurrentIndex(fx.At(1, 1));
                   ov.MoveUp();
                 },
                 {{0, 24, true, kWs1},
                  {0, 51, true, "G1\t\tn/a"},
                  {2, 33, true, "C2\t\t\\\\C2"},
                  {2, 33, false, "C1\t\t\\\\C1"},
                  {0, 51, true, "G2\t\tn/a"},
                  {0, 33, true, kSrv}}},
        EditCase{"MoveDownTakesTheGroupingsChildrenAlong",
                 [](T& fx, V& ov) {
                   ov.setCurrentIndex(fx.At(0));
                   ov.MoveDown();
                 },
                 {{0, 51, true, "G1\t\tn/a"},
                  {1, 33, false, "C1\t\t\\\\C1"},
                  {1, 33, true, "C2\t\t\\\\C2"},
                  {0, 24, true, kWs1},
                  {0, 51, true, "G2\t\tn/a"},
                  {0, 33, true, kSrv}}},
        EditCase{"EnableAllReachesChildren", [](T&, V& ov) { ov.EnableAll(); },
                 {{0, 24, true, kWs1},
                  {0, 51, true, "G1\t\tn/a"},
                  {2, 33, true, "C1\t\t\\\\C1"},
                  {2, 33, true, "C2\t\t\\\\C2"},
                  {0, 51, true, "G2\t\tn/a"},
                  {0, 33, true, kSrv}}},
        EditCase{"DisableAllLeavesChildren", [](T&, V& ov) { ov.DisableAll(); },
                 {{0, 24, false, kWs1},
                  {0, 51, false, "G1\t\tn/a"},
                  {2, 33, false, "C1\t\t\\\\C1"},
                  {2, 33, true, "C2\t\t\\\\C2"},
                  {0, 51, false, "G2\t\tn/a"},
                  {0, 33, false, kSrv}}},
        EditCase{"SpaceTogglesTheSelectedObject",
                 [](T& fx, V& ov) {
                   ov.setCurrentIndex(fx.At(1, 0));
                   QTest::keyClick(&ov, Qt::Key_Space);
                 },
                 {{0, 24, true, kWs1},
                  {0, 51, true, "G1\t\tn/a"},
                  {2, 33, true, "C1\t\t\\\\C1"},
                  {2, 33, true, "C2\t\t\\\\C2"},
                  {0, 51, true, "G2\t\tn/a"},
                  {0, 33, true, kSrv}}},
        EditCase{"DeleteKeyWithYesRemovesTheChildrenToo",
                 [](T& fx, V& ov) {
                   ov.setCurrentIndex(fx.At(1));
                   AnswerModal([](QWidget* box) {
                     EXPECT_EQ(qobject_cast<QMessageBox*>(box)->text().toStdString(),
                               MessageText(kMsgConfirmDeleteObject));
                     qobject_cast<QMessageBox*>(box)->button(QMessageBox::Yes)->click();
                   });
                   QTest::keyClick(&ov, Qt::Key_Delete);
                 },
                 {{0, 24, true, kWs1}, {0, 51, true, "G2\t\tn/a"}, {0, 33, true, kSrv}}},
        EditCase{"DeleteWithNoKeepsTheList",
                 [](T& fx, V& ov) {
                   ov.setCurrentIndex(fx.At(1));
                   AnswerModal([](QWidget* box) {
                     qobject_cast<QMessageBox*>(box)->button(QMessageBox::No)->click();
                   });
                   ov.DeleteObject();
                   EXPECT_FALSE(ov.modified());
                 },
                 {}},
        EditCase{"DropOnAnObjectPlacesAfterIt",
                 [](T& fx, V& ov) { ov.model_of_objects().Drop(fx.At(1, 0), fx.At(0), false); },
                 {{0, 24, true, kWs1},
                  {0, 33, false, "C1\t\t\\\\C1"},
                  {0, 51, true, "G1\t\tn/a"},
                  {3, 33, true, "C2\t\t\\\\C2"},
                  {0, 51, true, "G2\t\tn/a"},
                  {0, 33, true, kSrv}}},
        EditCase{"DropOnAGroupingMakesTheLastChild",
                 [](T& fx, V& ov) { ov.model_of_objects().Drop(fx.At(0), fx.At(1), false); },
                 {{0, 51, true, "G1\t\tn/a"},
                  {1, 33, false, "C1\t\t\\\\C1"},
                  {1, 33, true, "C2\t\t\\\\C2"},
                  {1, 24, true, kWs1},
                  {0, 51, true, "G2\t\tn/a"},
                  {0, 33, true, kSrv}}},
        EditCase{"GroupingOnGroupingDoesNotMove",
                 [](T& fx, V& ov) {
                   ov.model_of_objects().Drop(fx.At(1), fx.At(2), false);
                   ov.model_of_objects().Drop(fx.At(2), fx.At(1, 0), false);
                   EXPECT_FALSE(ov.modified());
                 },
                 {}},
        EditCase{"DropOnNoItemGoesToTheEnd",
                 [](T& fx, V& ov) { ov.model_of_objects().Drop(fx.At(1, 1), QModelIndex(), false); },
                 {{0, 24, true, kWs1},
                  {0, 51, true, "G1\t\tn/a"},
                  {2, 33, false, "C1\t\t\\\\C1"},
                  {0, 51, true, "G2\t\tn/a"},
                  {0, 33, true, kSrv},
                  {0, 33, true, "C2\t\t\\\\C2"}}},
        EditCase{"CtrlDropCopies",
                 [](T& fx, V& ov) { ov.model_of_objects().Drop(fx.At(3), fx.At(2), true); },
                 {{0, 24, true, kWs1},
                  {0, 51, true, "G1\t\tn/a"},
                  {2, 33, false, "C1\t\t\\\\C1"},
                  {2, 33, true, "C2\t\t\\\\C2"},
                  {0, 51, true, "G2\t\tn/a"},
                  {5, 33, true, kSrv},
                  {0, 33, true, kSrv}}}),
    [](const ::testing::TestParamInfo<EditCase>& c) { return c.param.name; });

struct NewCase {
  const char* name;
  int top, child;    // the selection; top -1 for none
  int initial_type;  // the type the dialog opens with
  int chosen_type;   // 0: keep it
  std::vector<std::tuple<int, int, bool, std::string>> expected;
};

class NewObjectTest : public ObjectViewTest, public ::testing::WithParamInterface<NewCase> {};

TEST_P(NewObjectTest, InsertsWhereTheSelectionSays) {
  const NewCase& c = GetParam();
  if (c.top >= 0) view_.setCurrentIndex(At(c.top, c.child));
  int initial = 0;
  AnswerModal([&](QWidget* dialog) {
    initial = dialog->findChild<QComboBox*>("objectTypeCombo")->currentData().toInt();
    EXPECT_TRUE(dialog->findChild<QCheckBox*>("activeCheck")->isChecked());
    FillProperties(dialog, c.chosen_type, "NEW", "\\\\NEW");
  });
  QTest::keyClick(&view_, Qt::Key_Insert);
  EXPECT_EQ(initial, c.initial_type);
  EXPECT_EQ(Saved(), Lines(c.expected));
}

const std::string kNewWs = "NEW\t\t\\\\NEW";

INSTANTIATE_TEST_SUITE_P(Placement, NewObjectTest,
                         ::testing::Values(NewCase{"AfterAChild",
                                                   1,
                                                   0,
                                                   33,
                                                   0,
                                                   {{0, 24, true, kWs1},
                                                    {0, 51, true, "G1\t\tn/a"},
                                                    {2, 33, false, "C1\t\t\\\\C1"},
                                                    {2, 33, true, kNewWs},
                                                    {2, 33, true, "C2\t\t\\\\C2"},
                                                    {0, 51, true, "G2\t\tn/a"},
                                                    {0, 33, true, kSrv}}},
                                           NewCase{"IntoAnEmptyGroupingAsWorkstation",
                                                   2,
                                                   -1,
                                                   24,
                                                   0,
                                                   {{0, 24, true, kWs1},
                                                    {0, 51, true, "G1\t\tn/a"},
                                                    {2, 33, false, "C1\t\t\\\\C1"},
                                                    {2, 33, true, "C2\t\t\\\\C2"},
                                                    {0, 51, true, "G2\t\tn/a"},
                                                    {5, 24, true, kNewWs},
                                                    {0, 33, true, kSrv}}},
                                           NewCase{"GroupingAlwaysAtTheEnd",
                                                   1,
                                                   0,
                                                   33,
                                                   51,
                                                   {{0, 24, true, kWs1},
                                                    {0, 51, true, "G1\t\tn/a"},
                                                    {2, 33, false, "C1\t\t\\\\C1"},
                                                    {2, 33, true, "C2\t\t\\\\C2"},
                                                    {0, 51, true, "G2\t\tn/a"},
                                                    {0, 33, true, kSrv},
                                                    {0, 51, true, "NEW\t\tn/a"}}}),
                         [](const ::testing::TestParamInfo<NewCase>& c) { return c.param.name; });

TEST_F(ObjectViewTest, EnterEditsPropertiesAndUppercasesTheLdapScheme) {
  view_.setCurrentIndex(At(3));
  AnswerModal([](QWidget* dialog) {
    dialog->findChild<QLineEdit*>("commentEdit")->clear();
    FillProperties(dialog, 112, "SRV", "ldap://CN=SRV,DC=example");
  });
  QTest::keyClick(&view_, Qt::Key_Return);
  EXPECT_EQ(At(3).data().toString(), "SRV");
  EXPECT_EQ(Saved(), Lines({{0, 24, true, kWs1},
                            {0, 51, true, "G1\t\tn/a"},
                            {2, 33, false, "C1\t\t\\\\C1"},
                            {2, 33, true, "C2\t\t\\\\C2"},
                            {0, 51, true, "G2\t\tn/a"},
                            {0, 112, true, "SRV\t\tLDAP://CN=SRV,DC=example"}}));
}

TEST_F(ObjectViewTest, TheEleventhChangeSavesAtOnce) {
  view_.setCurrentIndex(At(0));
  for (int i = 0; i < 10; ++i) QTest::keyClick(&view_, Qt::Key_Space);
  EXPECT_EQ(FileText(file_), original_);
  EXPECT_TRUE(view_.modified());
  QTest::keyClick(&view_, Qt::Key_Space);  // WS1 ends inactive
  EXPECT_FALSE(view_.modified());
  EXPECT_EQ(view_.change_count(), 0);
  EXPECT_NE(FileText(file_).find(Line(1, 0, 24, false, "WS1", "", "\\\\WS1")), std::string::npos);
  EXPECT_TRUE(fs::exists(file_ + ".BACKUP"));
}

TEST_F(ObjectViewTest, EveryCommandRefusesTheHandoverObjectFile) {
  context_.handover = true;
  const std::vector<std::pair<const char*, std::function<void()>>> commands = {
      {"new", [&] { view_.NewObject(); }},
      {"properties", [&] { view_.EditProperties(); }},
      {"up", [&] { view_.MoveUp(); }},
      {"down", [&] { view_.MoveDown(); }},
      {"enable", [&] { view_.EnableAll(); }},
      {"disable", [&] { view_.DisableAll(); }},
      {"delete", [&] { view_.DeleteObject(); }},
      {"space", [&] { QTest::keyClick(&view_, Qt::Key_Space); }},
      {"check box", [&] { view_.model()->setData(At(1, 1), Qt::Unchecked, Qt::CheckStateRole); }},
      {"drop", [&] { view_.model_of_objects().Drop(At(0), At(1), false); }},
      {"import",
       [&] {
         view_.AppendImported({ImportedObject{{24, true, "X", "", "X", {}}, false}});
       }},
  };
  for (const auto& [name, command] : commands) {
    SCOPED_TRACE(name);
    view_.setCurrentIndex(At(1, 1));
    std::string shown;
    AnswerModal([&shown](QWidget* box) {
      shown = qobject_cast<QMessageBox*>(box)->text().toStdString();
      qobject_cast<QMessageBox*>(box)->accept();
    });
    command();
    EXPECT_EQ(shown, MessageText(kMsgQuollObjectFileReadOnly));
    EXPECT_FALSE(view_.modified());
  }
  EXPECT_EQ(Saved(), original_);
}

TEST_F(ObjectViewTest, ImportAppendsChildrenUnderTheLastTopLevelObject) {
  view_.AppendImported({{{24, true, "A", "", "\\\\A", {}}, false},
                        {{51, true, "B", "", "n/a", {}}, false},
                        {{33, false, "C", "", "\\\\C", {}}, true}});
  EXPECT_EQ(view_.change_count(), 1);
  EXPECT_EQ(Saved(), original_ + Line(7, 0, 24, true, "A", "", "\\\\A") +
                         Line(8, 0, 51, true, "B", "", "n/a") +
                         Line(9, 8, 33, false, "C", "", "\\\\C"));
}

// The dialog's own rules.
TEST(ObjectPropertiesDialogTest, OkNeedsANameAndAPath) {
  WindowContext context(run::Locations{}, "/nonexistent/settings.ini");
  ObjectPropertiesDialog dialog(nullptr, context, {24, true, "", "", "", {}});
  auto* ok = dialog.findChild<QDialogButtonBox*>("buttons")->button(QDialogButtonBox::Ok);
  auto* name = dialog.findChild<QLineEdit*>("displayNameEdit");
  auto* path = dialog.findChild<QLineEdit*>("pathEdit");
  const struct {
    const char* name;
    const char* path;
    bool ok;
  } cases[] = {{"", "", false}, {"A", "", false}, {"", "\\\\A", false}, {"A", "\\\\A", true}};
  for (const auto& c : cases) {
    name->setText(c.name);
    path->setText(c.path);
    EXPECT_EQ(ok->isEnabled(), c.ok) << c.name << "|" << c.path;
  }
}

TEST(ObjectPropertiesDialogTest, AGroupingHasNoPathAndTheBrowseButtonFollowsTheType) {
  WindowContext context(run::Locations{}, "/nonexistent/settings.ini");
  std::uint32_t browsed = 0;
  ObjectPropertiesDialog dialog(nullptr, context, {24, true, "A", "", "\\\\A", {}},
                                [&browsed](QWidget*, std::uint32_t type) {
                                  browsed = type;
                                  return std::string("LDAP://OU=X,DC=example");
                                });
  auto* combo = dialog.findChild<QComboBox*>("objectTypeCombo");
  auto* path = dialog.findChild<QLineEdit*>("pathEdit");
  auto* browse = dialog.findChild<QPushButton*>("browseButton");
  EXPECT_EQ(combo->count(), 15);
  EXPECT_TRUE(browse->isHidden());

  combo->setCurrentIndex(combo->findData(51));
  EXPECT_FALSE(path->isEnabled());
  EXPECT_EQ(path->text(), "n/a");
  EXPECT_TRUE(browse->isHidden());

  combo->setCurrentIndex(combo->findData(114));
  EXPECT_TRUE(path->isEnabled());
  EXPECT_EQ(path->text(), "\\\\A");
  EXPECT_FALSE(browse->isHidden());
  browse->click();
  EXPECT_EQ(browsed, 114u);
  EXPECT_EQ(dialog.Result().path, "LDAP://OU=X,DC=example");
}

TEST(ObjectPropertiesDialogTest, OnlyTheLowerCaseLdapSchemeIsRewritten) {
  EXPECT_EQ(WithUpperCaseLdapScheme("ldap://DC=a"), "LDAP://DC=a");
  EXPECT_EQ(WithUpperCaseLdapScheme("Ldap://DC=a"), "Ldap://DC=a");
  EXPECT_EQ(WithUpperCaseLdapScheme("\\\\ldap://"), "\\\\ldap://");
}

}  // namespace
}  // namespace tabulon::ui
