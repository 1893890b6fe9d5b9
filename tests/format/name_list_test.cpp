#include "format/name_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/fakes.h"

namespace tabulon::format {
namespace {

class LoadNameListTest : public ::testing::Test {
 protected:
  std::string Write(std::string_view bytes) {
    const std::string path = dir_ + "/list.txt";
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  NameList Load(std::string_view bytes) {
    NameList list;
    const LoadStatus status = LoadNameList(Write(bytes), list);
    EXPECT_TRUE(status.ok());
    return list;
  }

  testing::ScratchDir scratch_;
  const std::string& dir_ = scratch_.path();
};

TEST_F(LoadNameListTest, OneEntryPerLine) {
  struct Case {
    std::string bytes;
    NameList entries;
  } cases[] = {
      {"alpha\n\nbeta  \t\r\n  gamma\n", {"alpha", "", "beta", "  gamma"}},
      {"a\nb", {"a", "b"}},
      {"a\n\n", {"a", ""}},
      {"", {}},
      {"\n", {""}},
      {"caf\xE9\n", {"caf\xC3\xA9"}},
      {"caf\xC3\xA9\n", {"caf\xC3\xA9"}},
      {std::string("ab\0cd\nef", 8), {"ab", "ef"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Load(c.bytes), c.entries) << c.bytes;
}

TEST_F(LoadNameListTest, LongLinesAreCutInto1023BytePieces) {
  const std::string full(1023, 'a');
  struct Case {
    std::string bytes;
    NameList entries;
  } cases[] = {
      {full + "\nnext\n", {full, "next"}},
      {full + "\r\nnext\n", {full, "next"}},
      {full + "b\nnext\n", {full, "b", "next"}},
      {full + full + "\n\n", {full, full, ""}},
      {full, {full}},
      {std::string(1022, 'a') + "\r\n", {std::string(1022, 'a')}},
  };
  for (const auto& c : cases) EXPECT_EQ(Load(c.bytes), c.entries) << c.bytes.size();
}

TEST_F(LoadNameListTest, BackslashesSeparateDirectories) {
  std::filesystem::create_directory(dir_ + "/sub");
  std::ofstream(dir_ + "/sub/list.txt") << "Spooler\n";
  NameList list;
  EXPECT_TRUE(LoadNameList(dir_ + "\\sub\\list.txt", list).ok());
  EXPECT_EQ(list, NameList{"Spooler"});
}

TEST_F(LoadNameListTest, UnreadableFilesLeaveTheListEmpty) {
  NameList list = {"stale"};
  LoadStatus status = LoadNameList(dir_ + "/missing.txt", list);
  EXPECT_FALSE(status.ok());
  EXPECT_EQ(status.error, win::ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(list.empty());

  list = {"stale"};
  status = LoadNameList(dir_, list);
  EXPECT_FALSE(status.ok());
  EXPECT_TRUE(list.empty());
}

TEST(MatchNameList, MatchKinds) {
  struct Case {
    const char* name;
    NameList list;
    bool match;
  } cases[] = {
      {"Spooler", {"spooler"}, true},
      {"Spooler", {"spool"}, false},
      {"Spooler", {"spool*"}, true},
      {"Spool", {"spooler*"}, false},
      {"\\\\Spooler", {"*ler"}, true},
      {"Spooler", {"\\\\*LER"}, true},
      {"ler", {"*spooler"}, false},
      {"SPOOLER", {"*poo*"}, true},
      {"Spooler", {"sp*er"}, false},
      {"sp*er", {"sp*er"}, true},
      {"Spooler", {"*sp*er"}, false},
      {"Spooler", {"**oole**"}, true},
      {"Spooler", {"*"}, true},
      {"Spooler", {"**"}, true},
      {"Spooler", {}, false},
      {"Spooler", {""}, false},
      {"Spooler", {"W32Time", "", "spooler"}, true},
      {"\xC3\x89t\xC3\xA9", {"*\xC3\xA9T*"}, true},
      {"\xC3\x89t\xC3\xA9", {"\xC3\xA9T\xC3\x89"}, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MatchNameList(c.name, c.list), c.match)
        << c.name << " against " << (c.list.empty() ? "(empty)" : c.list.front());
  }
}

}  // namespace
}  // namespace tabulon::format
