#include "engine/object_file.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "support/fakes.h"

namespace tabulon {
namespace {

using testing::ScratchDir;

std::vector<std::string> Lines(const std::string& path) {
  std::vector<std::string> lines;
  ForEachTextLine(path, [&](std::string_view l) { lines.emplace_back(l); });
  return lines;
}

TEST(ObjectFile, ParsesTheNineFields) {
  const ObjectLine o = ParseObjectLine("7\t3\t24\t1\treserved\treserved\tPC1\tFront desk\t\\\\PC1");
  EXPECT_EQ(o.line_number, 7u);
  EXPECT_EQ(o.parent, 3u);
  EXPECT_EQ(o.type, 24u);
  EXPECT_TRUE(o.active);
  EXPECT_EQ(o.display_name, "PC1");
  EXPECT_EQ(o.comment, "Front desk");
  EXPECT_EQ(o.path, "\\\\PC1");
  const ObjectLine short_line = ParseObjectLine("2\t0\t33\t10");
  EXPECT_TRUE(short_line.active) << "active means the field starts with 1";
  EXPECT_EQ(short_line.path, "");
  EXPECT_FALSE(ParseObjectLine("junk").active);
}

TEST(ObjectFile, ReadsUtf16AndEightBitLines) {
  ScratchDir dir;
  dir.Write("w.dat",
            std::string("\xFF\xFE") + text::Utf8ToUtf16Le("one \xC3\xA9\r\ntwo\r\n\r\nthree"));
  EXPECT_EQ(Lines(dir.File("w.dat")),
            (std::vector<std::string>{"one \xC3\xA9", "two", "", "three"}));
  constexpr char kNarrow[] = "caf\xE9\t \r\nx\0y\nlast";
  dir.Write("n.dat", std::string(kNarrow, sizeof kNarrow - 1));
  EXPECT_EQ(Lines(dir.File("n.dat")), (std::vector<std::string>{"caf\xC3\xA9", "x", "last"}));
  EXPECT_NE(ForEachTextLine(dir.File("missing.dat"), [](std::string_view) {}), 0u);
}

TEST(ObjectFile, LongLinesComeInPieces) {
  ScratchDir dir;
  dir.Write("long.dat", std::string(5000, 'a') + "\n" + std::string(2047, 'b') + "\nc\n");
  const auto lines = Lines(dir.File("long.dat"));
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0].size(), 2047u);
  EXPECT_EQ(lines[1].size(), 2047u);
  EXPECT_EQ(lines[2].size(), 906u);
  EXPECT_EQ(lines[3], std::string(2047, 'b'));
  EXPECT_EQ(lines[4], "c");
}

TEST(ObjectFile, WriteAndReadBackWithGroupings) {
  ScratchDir dir;
  const std::string path = dir.File("objects.dat");
  dir.Write("objects.dat", "old");
  std::vector<ObjectListItem> items = {
      {24, true, "PC1", "desk", "\\\\PC1", {}},
      {51, false, "Retired", "", "", {{24, true, "OLD", "", "\\\\OLD", {}}}},
      {99, true, "CORP", "", "CORP", {}},
  };
  ASSERT_EQ(WriteObjectFile(path, items), 0u);
  EXPECT_EQ(dir.Read("objects.dat.BACKUP"), "old");
  EXPECT_EQ(Lines(path),
            (std::vector<std::string>{"1\t0\t24\t1\treserved\treserved\tPC1\tdesk\t\\\\PC1",
                                      "2\t0\t51\t0\treserved\treserved\tRetired",
                                      "3\t2\t24\t1\treserved\treserved\tOLD\t\t\\\\OLD",
                                      "4\t0\t99\t1\treserved\treserved\tCORP\t\tCORP"}));
  std::vector<ObjectListItem> back;
  ASSERT_EQ(ReadObjectList(path, back), 0u);
  ASSERT_EQ(back.size(), 3u);
  ASSERT_EQ(back[1].children.size(), 1u);
  EXPECT_EQ(back[1].children[0].display_name, "OLD");
  EXPECT_FALSE(back[1].active);
}

}  // namespace
}  // namespace tabulon
