#include "engine/configuration.h"

#include <gtest/gtest.h>

#include "engine/output_settings.h"
#include "platform/ini_file_profile.h"
#include "support/fakes.h"

namespace tabulon {
namespace {

using testing::ScratchDir;

class ConfigurationTest : public ::testing::Test {
 protected:
  Configuration Config(std::string_view content) {
    dir_.Write("cfg.ini", content);
    return Configuration(profile_, dir_.File("cfg.ini"));
  }
  ScratchDir dir_;
  platform::IniFileProfile profile_;
};

TEST_F(ConfigurationTest, MissingFileReadsAsDefaults) {
  Configuration config(profile_, dir_.File("absent.ini"));
  EXPECT_EQ(config.ReadInt("Computers", "PingTimeout", 50), 50);
  EXPECT_EQ(config.ReadText("General", "LogFileName", "Export.log"), "Export.log");
}

TEST_F(ConfigurationTest, IntegerValues) {
  Configuration config = Config(
      "[Computers]\r\n"
      "PingTimeout=\r\n"
      "PingTTL=20abc\r\n"
      "PingRetry=0000000000000000001234\r\n"
      "PingRetryMultiplier=  -3\r\n"
      "FilteringType=99999999999999\r\n");
  EXPECT_EQ(config.ReadInt("Computers", "PingTimeout", 50), 0);  // empty is not missing
  EXPECT_EQ(config.ReadInt("computers", "pingttl", 30), 20);
  EXPECT_EQ(config.ReadInt("Computers", "PingRetry", 1), 1);  // only 19 characters are seen
  EXPECT_EQ(config.ReadInt("Computers", "PingRetryMultiplier", 1), -3);
  EXPECT_EQ(config.ReadInt("Computers", "FilteringType", 0), 2147483647);
  EXPECT_EQ(config.ReadInt("Computers", "Missing", 7), 7);
}

TEST_F(ConfigurationTest, TextValuesAreCutAndUnquoted) {
  const std::string long_value(9000, 'x');
  Configuration config = Config("[General]\nObjectFile=\"objects.dat\"\nLong=" + long_value +
                                "\n; comment=1\nDelimiter= , \n");
  EXPECT_EQ(config.ReadText("General", "ObjectFile", ""), "objects.dat");
  EXPECT_EQ(config.ReadText("General", "Long", "").size(), 8191u);
  EXPECT_EQ(config.ReadText("General", "Delimiter", ""), ",");
  EXPECT_EQ(config.ReadText("General", "; comment", "none"), "1");
}

TEST_F(ConfigurationTest, EscapesExpandOnlyInDelimiterAndTerminator) {
  Configuration config = Config(
      "[General]\nDelimiter=\\t\\t\nSecondaryDelimiter=\\t\nLineTerminator=\\r\\n\n"
      "CrLfReplacement=\\n\n");
  const OutputSettings s = ReadOutputSettings(config);
  EXPECT_EQ(s.delimiter, "\t\t");
  EXPECT_EQ(s.secondary_delimiter, "\\t");
  EXPECT_EQ(s.line_terminator, "\r\n");
  EXPECT_EQ(s.crlf_replacement, "\\n");
  EXPECT_EQ(ExpandEscapes("a\\\\tb"), "a\\\tb");
}

TEST_F(ConfigurationTest, TemplateLists) {
  Configuration config = Config("[Templates]\nRegistryTemplates=First;;Second;\n");
  EXPECT_EQ(config.ReadTemplateList("RegistryTemplates"),
            (std::vector<std::string>{"First", "Second"}));
  EXPECT_TRUE(config.ReadTemplateList("WmiTemplates").empty());
  EXPECT_TRUE(SplitTemplateList(";;;").empty());
}

TEST_F(ConfigurationTest, WritesKeepTheRestOfTheFile) {
  Configuration config = Config(
      "; my settings\r\n[General]\r\nObjectFile=a.dat\r\n\r\n[Services]\r\nExportServices=0\r\n");
  config.WriteInt("services", "exportservices", 1);
  config.WriteText("General", "LogFileName", "run.log");
  config.WriteText("Drives", "DrivesMask", "C;D");
  EXPECT_EQ(dir_.Read("cfg.ini"),
            "; my settings\r\n[General]\r\nObjectFile=a.dat\r\nLogFileName=run.log\r\n\r\n"
            "[Services]\r\nExportServices=1\r\n[Drives]\r\nDrivesMask=C;D\r\n");
  EXPECT_EQ(config.ReadInt("Services", "ExportServices", 0), 1);
}

TEST_F(ConfigurationTest, EncodingsAreReadAndKept) {
  // UTF-16LE with a byte-order mark, and Latin-1 with an accented name.
  constexpr char kRaw[] = "\xFF\xFE[\0G\0e\0n\0e\0r\0a\0l\0]\0\n\0N\0=\0\xE9\0\n\0";
  const std::string utf16(kRaw, sizeof kRaw - 1);
  dir_.Write("u.ini", utf16);
  Configuration u(profile_, dir_.File("u.ini"));
  EXPECT_EQ(u.ReadText("General", "N", ""), "\xC3\xA9");
  u.WriteText("General", "M", "x");
  const std::string after = dir_.Read("u.ini");
  ASSERT_GE(after.size(), 2u);
  EXPECT_EQ(after.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(u.ReadText("General", "M", ""), "x");

  dir_.Write("l.ini", "[General]\nName=Caf\xE9\n");
  Configuration l(profile_, dir_.File("l.ini"));
  EXPECT_EQ(l.ReadText("General", "Name", ""), "Caf\xC3\xA9");
  l.WriteText("General", "Other", "\xC3\xA9");
  EXPECT_EQ(dir_.Read("l.ini"), "[General]\r\nName=Caf\xE9\r\nOther=\xE9\r\n");
}

TEST_F(ConfigurationTest, BackslashesSeparateDirectoriesToo) {
  dir_.Write("b.ini", "[A]\nK=v\n");
  Configuration config(profile_, dir_.path() + "\\b.ini");
  EXPECT_EQ(config.ReadText("A", "K", ""), "v");
}

}  // namespace
}  // namespace tabulon
