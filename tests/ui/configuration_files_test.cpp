#include "ui/configuration_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/ini_file_profile.h"
#include "support/fakes.h"
#include "ui/configuration_naming.h"

namespace tabulon::ui {
namespace {

using testing::ScratchDir;

class ConfigurationFilesTest : public ::testing::Test {
 protected:
  ConfigurationFilesTest() { std::filesystem::create_directories(dir_.File("objects")); }

  FileOutcome Create(NewConfigurationFields fields) {
    return CreateConfiguration(profile_, fields, placement_);
  }

  ScratchDir dir_;
  platform::IniFileProfile profile_;
  testing::FixedClock clock_{testing::March5()};
  testing::SimpleLocale locale_;
  NamePlacement placement_{dir_.path(), dir_.File("objects"), clock_, locale_};
};

TEST(ConfigurationNamingTest, CopyNamesAndDefaultExtensions) {
  struct Case {
    std::string_view in;
    std::string copy;
    std::string with_ini;
  };
  const Case cases[] = {
      {"site.A.INI", "site_COPY.A.INI", "site.A.INI"},
      {"/a.b/site", "site_COPY", "/a.b/site.INI"},
      {"plain", "plain_COPY", "plain.INI"},
      {"dir\\x.ini", "x_COPY.ini", "dir\\x.ini"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CopyFileName(c.in), c.copy) << c.in;
    EXPECT_EQ(WithDefaultExtension(c.in, kConfigurationExtension), c.with_ini) << c.in;
  }
}

TEST_F(ConfigurationFilesTest, NewConfigurationWritesNameAndCreatesObjectFile) {
  const FileOutcome outcome = Create({"Weekly", "weekly_%YYYY%", "servers", ""});
  ASSERT_TRUE(outcome.ok());
  const std::string object_file = dir_.File("objects/servers.DAT");
  EXPECT_EQ(outcome.path, dir_.File("weekly_2026.INI"));
  EXPECT_EQ(dir_.Read("weekly_2026.INI"),
            "[General]\r\nConfigurationName=Weekly\r\nObjectFile=" + object_file + "\r\n");
  EXPECT_TRUE(std::filesystem::exists(object_file));
  EXPECT_EQ(ScratchDir::ReadFile(object_file), "");
}

TEST_F(ConfigurationFilesTest, NewConfigurationKeepsAnExistingObjectFile) {
  const std::string object_file = dir_.File("objects/list.txt");
  { std::ofstream(object_file, std::ios::binary) << "1\t0\t24\t1\treserved\treserved\tA\t\tA\r\n"; }
  ASSERT_TRUE(Create({"N", "n.cfg", object_file, ""}).ok());
  EXPECT_EQ(ScratchDir::ReadFile(object_file), "1\t0\t24\t1\treserved\treserved\tA\t\tA\r\n");
  EXPECT_EQ(dir_.Read("n.cfg"),
            "[General]\r\nConfigurationName=N\r\nObjectFile=" + object_file + "\r\n");
}

TEST_F(ConfigurationFilesTest, CopyFromCopiesTheSourceAndRenamesIt) {
  dir_.Write("site.A.INI",
             "; weekly\r\n[General]\r\nConfigurationName=Site\r\nExportServices=1\r\n");
  const FileOutcome outcome = Create(
      {"Site_COPY", CopyFileName(dir_.File("site.A.INI")), "site.DAT", dir_.File("site.A.INI")});
  ASSERT_TRUE(outcome.ok());
  EXPECT_EQ(outcome.path, dir_.File("site_COPY.A.INI"));
  EXPECT_EQ(dir_.Read("site_COPY.A.INI"),
            "; weekly\r\n[General]\r\nConfigurationName=Site_COPY\r\nExportServices=1\r\n"
            "ObjectFile=" +
                dir_.File("objects/site.DAT") + "\r\n");
  // A second copy under the same name is refused and leaves the first alone.
  const std::string before = dir_.Read("site_COPY.A.INI");
  const FileOutcome again = Create({"Other", "site_COPY.A.INI", "o.DAT", dir_.File("site.A.INI")});
  EXPECT_FALSE(again.ok());
  EXPECT_EQ(again.status, win::ERROR_ALREADY_EXISTS);
  EXPECT_EQ(dir_.Read("site_COPY.A.INI"), before);
}

TEST_F(ConfigurationFilesTest, ObjectFileThatCannotBeCreatedFailsWithItsTitle) {
  const FileOutcome outcome = Create({"N", "n", dir_.File("missing/dir/x"), ""});
  EXPECT_FALSE(outcome.ok());
  EXPECT_EQ(outcome.failed_title, kQuollObjectFileTitle);
  EXPECT_EQ(outcome.path, dir_.File("missing/dir/x.DAT"));
  EXPECT_NE(outcome.status, win::ERROR_SUCCESS);
}

TEST(ConfigurationNamingTest, QuollObjectFileIsRecognisedByExactCase) {
  EXPECT_TRUE(NamesQuollObjectFile("C:\\Quoll\\ad_objects.dat"));
  EXPECT_FALSE(NamesQuollObjectFile("AD_OBJECTS.DAT"));
}

TEST_F(ConfigurationFilesTest, QuollConversionAppendsInactiveLinesThatReadBack) {
  dir_.Write("ad_objects.dat",
             "1\t0\t113\tx\tSRV1\tFile server\t\r\n"
             "2\t1\t23\tx\tWS1\t\t\\\\WS1\r\n"
             "3\t0\t46\tx\tSkipped\t\t\r\n"
             "4\t0\t86\tx\tSkipped\t\t\r\n"
             "5\t0\t37\tx\tSkipped\t\t\r\n"
             "6\t0\t104\tx\tUser\tc\tLDAP://CN=U\r\n");
  std::vector<QuollObjectLine> lines;
  ASSERT_EQ(ReadQuollObjectLines(dir_.File("ad_objects.dat"), lines), win::ERROR_SUCCESS);
  const std::string expected =
      "1\t0\t33\t0\treserved\treserved\tSRV1\tFile server\tSRV1\r\n"
      "2\t1\t24\t0\treserved\treserved\tWS1\t\t\\\\WS1\r\n"
      "6\t0\t104\t0\treserved\treserved\tUser\tc\tLDAP://CN=U\r\n";
  const std::string object_file = dir_.File("objects/QUOLL_EXPORT.DAT");

  const FileOutcome first = WriteQuollConfiguration(profile_, lines, placement_);
  ASSERT_TRUE(first.ok());
  EXPECT_EQ(first.path, dir_.File("QUOLL_EXPORT.INI"));
  EXPECT_EQ(dir_.Read("QUOLL_EXPORT.INI"),
            "[General]\r\nConfigurationName=Quoll Configuration Export\r\nObjectFile=" +
                object_file + "\r\n");
  EXPECT_EQ(ScratchDir::ReadFile(object_file), expected);
  // Opened for appending: a second conversion keeps the first's lines.
  ASSERT_TRUE(WriteQuollConfiguration(profile_, lines, placement_).ok());
  EXPECT_EQ(ScratchDir::ReadFile(object_file), expected + expected);

  // Once the object list has rewritten the file (UTF-16LE), appended lines
  // follow in that encoding and the list reads all of them back.
  std::vector<ObjectListItem> items;
  ASSERT_EQ(ReadObjectList(object_file, items), win::ERROR_SUCCESS);
  ASSERT_EQ(items.size(), 6u);
  EXPECT_FALSE(items[0].active);
  ASSERT_EQ(WriteObjectFile(object_file, {items[0]}), win::ERROR_SUCCESS);
  ASSERT_TRUE(WriteQuollConfiguration(profile_, lines, placement_).ok());
  ASSERT_EQ(ReadObjectList(object_file, items), win::ERROR_SUCCESS);
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(items[3].display_name, "User");
  EXPECT_EQ(items[3].path, "LDAP://CN=U");
}

}  // namespace
}  // namespace tabulon::ui
