#include "ui/object_import.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace tabulon::ui {
namespace {

using testing::ScratchDir;

TEST(ObjectImportTest, TextListLinesBecomeActiveTopLevelObjects) {
  struct Case {
    std::string_view line;
    std::string name, comment, path;
  };
  const Case cases[] = {
      {"SERVER1 with spaces  \t \r\n", "SERVER1 with spaces", "", "SERVER1 with spaces"},
      {"WS2\tFirst floor\n", "WS2", "First floor", "WS2"},
      {"Users\t\tldap://CN=Users,DC=x\n", "Users", "", "LDAP://CN=Users,DC=x"},
      {"Mixed\tc\tLdap://CN=A\n", "Mixed", "c", "Ldap://CN=A"},
      {"caf\xE9\n", "caf\xC3\xA9", "", "caf\xC3\xA9"},  // Latin-1 read as such
  };
  ScratchDir dir;
  std::string file;
  for (const Case& c : cases) file += c.line;
  dir.Write("list.txt", file + "\r\n   \n");  // blank lines name nothing

  std::vector<ImportedObject> objects;
  ASSERT_EQ(ReadTextObjectList(dir.File("list.txt"), kObjectServer, objects), win::ERROR_SUCCESS);
  ASSERT_EQ(objects.size(), std::size(cases));
  for (std::size_t i = 0; i < objects.size(); ++i) {
    const ObjectListItem& o = objects[i].item;
    EXPECT_EQ(o.display_name, cases[i].name);
    EXPECT_EQ(o.comment, cases[i].comment);
    EXPECT_EQ(o.path, cases[i].path);
    EXPECT_EQ(o.type, kObjectServer);
    EXPECT_TRUE(o.active);
    EXPECT_FALSE(objects[i].child_of_last_top_level);
  }
}

TEST(ObjectImportTest, LongLinesComeInPiecesOfTheReadBuffer) {
  ScratchDir dir;
  dir.Write("long.txt", std::string(kImportLineBytes + 5, 'a') + "\nB\n");
  std::vector<std::string> lines;
  ASSERT_EQ(
      ForEachImportLine(dir.File("long.txt"), [&](std::string_view l) { lines.emplace_back(l); }),
      win::ERROR_SUCCESS);
  EXPECT_EQ(lines, (std::vector<std::string>{std::string(kImportLineBytes, 'a'), "aaaaa", "B"}));
}

TEST(ObjectImportTest, UnreadableFilesFailAndLeaveTheListAlone) {
  ScratchDir dir;
  std::vector<ImportedObject> objects(1);
  EXPECT_NE(ReadTextObjectList(dir.File("missing.txt"), kObjectServer, objects),
            win::ERROR_SUCCESS);
  EXPECT_NE(ReadTextObjectList(dir.path(), kObjectServer, objects), win::ERROR_SUCCESS);
  std::vector<QuollObjectLine> lines(1);
  EXPECT_NE(ReadQuollObjectLines(dir.File("missing.dat"), lines), win::ERROR_SUCCESS);
  EXPECT_EQ(objects.size(), 1u);
  EXPECT_EQ(lines.size(), 1u);
}

TEST(ObjectImportTest, QuollObjectsAreActiveWithChildrenUnderTheLastTopLevel) {
  ScratchDir dir;
  dir.Write("ad_objects.dat",
            "1\t0\t51\t-\tSite\tgroup\t\r\n"
            "2\t1\t23\t-\tWS1\t\t\r\n"
            "3\t1\t37\t-\tGone\t\t\r\n"
            "4\t2\t113\t-\tSRV\t\tldap://x\r\n");
  std::vector<QuollObjectLine> lines;
  ASSERT_EQ(ReadQuollObjectLines(dir.File("ad_objects.dat"), lines), win::ERROR_SUCCESS);
  const std::vector<ImportedObject> objects = QuollObjects(lines);
  ASSERT_EQ(objects.size(), 3u);
  const std::uint32_t types[] = {kObjectGrouping, kObjectWorkstation, kObjectServer};
  const bool children[] = {false, true, true};
  for (std::size_t i = 0; i < objects.size(); ++i) {
    EXPECT_EQ(objects[i].item.type, types[i]);
    EXPECT_EQ(objects[i].child_of_last_top_level, children[i]);
    EXPECT_TRUE(objects[i].item.active);
  }
  EXPECT_EQ(objects[1].item.path, "WS1");
  // Only text lists have the scheme put in capitals.
  EXPECT_EQ(objects[2].item.path, "ldap://x");
}

}  // namespace
}  // namespace tabulon::ui
