// The object tree's edits, checked as the object file they save.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

#include "engine/messages.h"
#include "support/scoped_env.h"
#include "ui/object_properties_dialog.h"
#include "ui/object_view.h"

namespace tabulon::ui {
namespace {

namespace fs = std::filesystem;

// The object file as text: FF FE checked and the UTF-16LE of ASCII undone.
std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  if (bytes.size() % 2 != 0 || !bytes.starts_with("\xFF\xFE")) return "<not UTF-16LE>";
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

// The objects the tests use, by display name.
ObjectListItem Object(const std::string& name, std::uint32_t type = 0) {
  if (name.starts_with("G")) return {kObjectGrouping, true, name, "", "n/a", {}};
  if (name == "SRV") return {33, true, name, "file server", "\\\\SRV", {}};
  return {
      type != 0 ? type : (name.starts_with("C") ? 33u : 24u), true, name, "", "\\\\" + name, {}};
}

// The object file a list spells: "+NAME" active, "-NAME" inactive,
// "NAME:type" for another type, "{ ... }" the children of the grouping before.
std::string Expected(const std::string& list) {
  std::istringstream words(list);
  std::string word, text;
  int number = 0, grouping = 0, parent = 0;
  while (words >> word) {
    if (word == "{" || word == "}") {
      parent = word == "{" ? grouping : 0;
      continue;
    }
    const std::size_t colon = word.find(':');
    const ObjectListItem o =
        Object(word.substr(1, colon - 1),
               colon == std::string::npos ? 0 : std::stoul(word.substr(colon + 1)));
    text += std::to_string(++number) + "\t" + std::to_string(parent) + "\t" +
            std::to_string(o.type) + "\t" + (word[0] == '+' ? "1" : "0") +
            "\treserved\treserved\t" + o.display_name + "\t" + o.comment + "\t" + o.path + "\r\n";
    if (parent == 0) grouping = number;
  }
  return text;
}

const std::string kStart = "+WS1 +G1 { -C1 +C2 } +G2 +SRV";

class ObjectViewTest : public ::testing::Test {
 public:
  ObjectViewTest()
      : config_home_("XDG_CONFIG_HOME", (dir_ / "config").c_str()),
        data_home_("XDG_DATA_HOME", (dir_ / "data").c_str()),
        context_(run::Locations{}, (dir_ / "settings.ini").string()),
        view_(context_) {
    ObjectListItem g1 = Object("G1");
    g1.children = {Object("C1"), Object("C2")};
    g1.children[0].active = false;
    EXPECT_EQ(WriteObjectFile(file_, {Object("WS1"), g1, Object("G2"), Object("SRV")}),
              win::ERROR_SUCCESS);
    original_ = FileText(file_);
    EXPECT_EQ(original_, Expected(kStart));
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

struct EditCase {
  const char* name;
  std::function<void(ObjectViewTest&, ObjectView&)> edit;
  const char* expected;
};

class ObjectEditTest : public ObjectViewTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(ObjectEditTest, SavesTheEditedList) {
  GetParam().edit(*this, view_);
  EXPECT_EQ(Saved(), Expected(GetParam().expected));
}

using T = ObjectViewTest;
using V = ObjectView;

// Answers the delete question with `button`.
void AnswerDelete(QMessageBox::StandardButton button) {
  AnswerModal([button](QWidget* box) {
    EXPECT_EQ(qobject_cast<QMessageBox*>(box)->text().toStdString(),
              MessageText(kMsgConfirmDeleteObject));
    qobject_cast<QMessageBox*>(box)->button(button)->click();
  });
}

INSTANTIATE_TEST_SUITE_P(
    Edits, ObjectEditTest,
    ::testing::Values(
        EditCase{"MoveUpWithinGrouping",
                 [](T& fx, V& ov) {
                   ov.setCurrentIndex(fx.At(1, 1));
                   ov.MoveUp();
                 },
                 "+WS1 +G1 { +C2 -C1 } +G2 +SRV"},
        EditCase{"MoveDownTakesTheChildrenAlong",
                 [](T& fx, V& ov) {
                   ov.setCurrentIndex(fx.At(0));
                   ov.MoveDown();
                 },
                 "+G1 { -C1 +C2 } +WS1 +G2 +SRV"},
        EditCase{"EnableAllReachesChildren", [](T&, V& ov) { ov.EnableAll(); },
                 "+WS1 +G1 { +C1 +C2 } +G2 +SRV"},
        EditCase{"DisableAllLeavesChildren", [](T&, V& ov) { ov.DisableAll(); },
                 "-WS1 -G1 { -C1 +C2 } -G2 -SRV"},
        EditCase{"SpaceToggles",
                 [](T& fx, V& ov) {
                   ov.setCurrentIndex(fx.At(1, 0));
                   QTest::keyClick(&ov, Qt::Key_Space);
                 },
                 "+WS1 +G1 { +C1 +C2 } +G2 +SRV"},
        EditCase{"DeleteKeyWithYesTakesTheChildren",
                 [](T& fx, V& ov) {
                   ov.setCurrentIndex(fx.At(1));
                   AnswerDelete(QMessageBox::Yes);
                   QTest::keyClick(&ov, Qt::Key_Delete);
                 },
                 "+WS1 +G2 +SRV"},
        EditCase{"DeleteWithNoKeepsTheList",
                 [](T& fx, V& ov) {
                   ov.setCurrentIndex(fx.At(1));
                   AnswerDelete(QMessageBox::No);
                   ov.DeleteObject();
                   EXPECT_FALSE(ov.modified());
                 },
                 kStart.c_str()},
        EditCase{"DropOnAnObjectPlacesAfterIt",
                 [](T& fx, V& ov) { ov.model_of_objects().Drop(fx.At(1, 0), fx.At(0), false); },
                 "+WS1 -C1 +G1 { +C2 } +G2 +SRV"},
        EditCase{"DropOnAGroupingMakesTheLastChild",
                 [](T& fx, V& ov) { ov.model_of_objects().Drop(fx.At(0), fx.At(1), false); },
                 "+G1 { -C1 +C2 +WS1 } +G2 +SRV"},
        EditCase{"GroupingOnGroupingDoesNotMove",
                 [](T& fx, V& ov) {
                   ov.model_of_objects().Drop(fx.At(1), fx.At(2), false);
                   ov.model_of_objects().Drop(fx.At(2), fx.At(1, 0), false);
                   EXPECT_FALSE(ov.modified());
                 },
                 kStart.c_str()},
        EditCase{
            "DropOnNoItemGoesToTheEnd",
            [](T& fx, V& ov) { ov.model_of_objects().Drop(fx.At(1, 1), QModelIndex(), false); },
            "+WS1 +G1 { -C1 } +G2 +SRV +C2"},
        EditCase{"CtrlDropCopies",
                 [](T& fx, V& ov) { ov.model_of_objects().Drop(fx.At(3), fx.At(2), true); },
                 "+WS1 +G1 { -C1 +C2 } +G2 { +SRV } +SRV"}),
    [](const ::testing::TestParamInfo<EditCase>& c) { return c.param.name; });

struct NewCase {
  const char* name;
  int top, child;    // the selection
  int initial_type;  // the type the dialog opens with
  int chosen_type;   // 0: keep it
  const char* expected;
};

class NewObjectTest : public ObjectViewTest, public ::testing::WithParamInterface<NewCase> {};

TEST_P(NewObjectTest, InsertsWhereTheSelectionSays) {
  const NewCase& c = GetParam();
  view_.setCurrentIndex(At(c.top, c.child));
  int initial = 0;
  AnswerModal([&](QWidget* dialog) {
    initial = dialog->findChild<QComboBox*>("objectTypeCombo")->currentData().toInt();
    EXPECT_TRUE(dialog->findChild<QCheckBox*>("activeCheck")->isChecked());
    FillProperties(dialog, c.chosen_type, c.chosen_type == 51 ? "GNEW" : "NEW", "\\\\NEW");
  });
  QTest::keyClick(&view_, Qt::Key_Insert);
  EXPECT_EQ(initial, c.initial_type);
  EXPECT_EQ(Saved(), Expected(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Placement, NewObjectTest,
                         ::testing::Values(NewCase{"AfterAChild", 1, 0, 33, 0,
                                                   "+WS1 +G1 { -C1 +NEW:33 +C2 } +G2 +SRV"},
                                           NewCase{"IntoAnEmptyGrouping", 2, -1, 24, 0,
                                                   "+WS1 +G1 { -C1 +C2 } +G2 { +NEW } +SRV"},
                                           NewCase{"GroupingAtTheEnd", 1, 0, 33, 51,
                                                   "+WS1 +G1 { -C1 +C2 } +G2 +SRV +GNEW"}),
                         [](const ::testing::TestParamInfo<NewCase>& c) { return c.param.name; });

TEST_F(ObjectViewTest, EnterEditsPropertiesAndUppercasesTheLdapScheme) {
  view_.setCurrentIndex(At(3));
  AnswerModal([](QWidget* dialog) {
    dialog->findChild<QLineEdit*>("commentEdit")->clear();
    FillProperties(dialog, 112, "SRV", "ldap://CN=SRV,DC=example");
  });
  EXPECT_EQ(At(3).data().toString(), "SRV (file server)");
  QTest::keyClick(&view_, Qt::Key_Return);
  EXPECT_EQ(At(3).data().toString(), "SRV");
  EXPECT_EQ(Saved(), Expected("+WS1 +G1 { -C1 +C2 } +G2") +
                         "6\t0\t112\t1\treserved\treserved\tSRV\t\tLDAP://CN=SRV,DC=example\r\n");
}

TEST_F(ObjectViewTest, ContextMenuDisablesMovesWithoutASibling) {
  for (const auto& [top, child, up, down] :
       {std::tuple{0, -1, false, true}, {1, 0, false, true}, {1, 1, true, false}}) {
    QStringList shown;
    QTimer::singleShot(0, [&shown] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      for (const QAction* action : menu->actions()) {
        shown << action->text() + (action->isEnabled() ? "" : " (off)");
      }
      shown << "default " + menu->defaultAction()->text();
      menu->close();
    });
    const QPoint at = view_.visualRect(At(top, child)).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, view_.viewport()->mapToGlobal(at));
    QApplication::sendEvent(view_.viewport(), &event);
    EXPECT_EQ(shown, (QStringList{"Properties...", "New...", up ? "Move Up" : "Move Up (off)",
                                  down ? "Move Down" : "Move Down (off)", "Delete",
                                  "default Properties..."}));
  }
}

TEST_F(ObjectViewTest, TheEleventhChangeSavesAtOnce) {
  view_.setCurrentIndex(At(0));
  for (int i = 0; i < 10; ++i) QTest::keyClick(&view_, Qt::Key_Space);
  EXPECT_EQ(FileText(file_), original_);
  EXPECT_TRUE(view_.modified());
  QTest::keyClick(&view_, Qt::Key_Space);  // WS1 ends inactive
  EXPECT_FALSE(view_.modified());
  EXPECT_EQ(view_.change_count(), 0);
  EXPECT_EQ(FileText(file_), Expected("-WS1 +G1 { -C1 +C2 } +G2 +SRV"));
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
  ImportedObject child{Object("CC"), true};
  child.item.active = false;
  view_.AppendImported({{Object("A"), false}, {Object("GB"), false}, child});
  EXPECT_EQ(view_.change_count(), 1);
  EXPECT_EQ(Saved(), Expected(kStart + " +A +GB { -CC }"));
}

// The dialog's own rules.
TEST(ObjectPropertiesDialogTest, OkNeedsANameAndAPath) {
  WindowContext context(run::Locations{}, "/nonexistent/settings.ini");
  ObjectPropertiesDialog dialog(nullptr, context, {24, true, "", "", "", {}});
  auto* ok = dialog.findChild<QDialogButtonBox*>("buttons")->button(QDialogButtonBox::Ok);
  for (const auto& [name, path, enabled] :
       {std::tuple{"", "", false}, {"A", "", false}, {"", "\\\\A", false}, {"A", "\\\\A", true}}) {
    dialog.findChild<QLineEdit*>("displayNameEdit")->setText(name);
    dialog.findChild<QLineEdit*>("pathEdit")->setText(path);
    EXPECT_EQ(ok->isEnabled(), enabled) << name << "|" << path;
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
