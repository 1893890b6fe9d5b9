#include "engine/run_output.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/catalogue.h"
#include "engine/messages.h"
#include "engine/row.h"
#include "format/lists.h"
#include "platform/ini_file_profile.h"
#include "support/fakes.h"
#include "support/recording_observer.h"

namespace tabulon {
namespace {

using testing::RecordingObserver;
using testing::ScratchDir;

class RunOutputTest : public ::testing::Test {
 protected:
  RunOutputTest() : clock_(testing::March5()) {
    platform_.profile = &profile_;
    platform_.clock = &clock_;
    platform_.locale = &locale_;
    output_.locations().app_data_directory = dir_.path();
    output_.settings().default_output_directory = dir_.path();
  }
  Configuration Config(std::string_view content) {
    dir_.Write("cfg.ini", content);
    return Configuration(profile_, dir_.File("cfg.ini"));
  }
  bool OpenServices(const Configuration& config, TypedOutput& out) {
    return output_.OpenTypedOutputFile(config, "Services", "ServicesOutputFile", "ServiceColumns",
                                       kServices, out);
  }

  ScratchDir dir_;
  platform::IniFileProfile profile_;
  testing::FixedClock clock_;
  testing::SimpleLocale locale_;
  platform::Platform platform_;
  RecordingObserver messages_;
  RunOutput output_{platform_, messages_, false};
};

TEST_F(RunOutputTest, ServicesFileWithDefaultColumns) {
  TypedOutput out;
  ASSERT_TRUE(OpenServices(Config(""), out));
  tagCObjects target;
  target.path = "\\\\PC1";
  Row row(output_, out, &target);
  row[0] = "Spooler";
  row[1] = "Print Spooler";
  row[2] = "Running";
  row.Write();
  out.file.Close();
  EXPECT_EQ(dir_.Read("services.txt"),
            "Object_Path\tServiceName\tServiceDesc\tServiceState\tServiceType\tServiceStartup\t"
            "ServiceAccount\tServiceDepends\tServiceBinary\r\n"
            "\\\\PC1\tSpooler\tPrint Spooler\tRunning\t\t\t\t\t\r\n");
  EXPECT_TRUE(row[0].empty()) << "writing empties the row";
  ASSERT_EQ(output_.output_files().size(), 1u);
  EXPECT_EQ(output_.output_files()[0].display_name, "Services");
  EXPECT_EQ(output_.output_files()[0].path, dir_.File("services.txt"));
}

TEST_F(RunOutputTest, ColumnListItemsAndOutOfRangeColumns) {
  TypedOutput out;
  ASSERT_TRUE(OpenServices(
      Config("[Services]\nServiceColumns=3,,0,8,1006,1099\nServicesOutputFile=s.txt\n"), out));
  EXPECT_EQ(out.columns, (std::vector<std::uint32_t>{3, 0, 0, 8, 1006, 1099}));
  tagCObjects target;
  target.domain = "CORP";
  Row row(output_, out, &target);
  row[0] = "a";
  row[3] = "d";
  row.WriteKeepingValues();
  out.file.Close();
  EXPECT_EQ(dir_.Read("s.txt"),
            "ServiceType\tServiceName\tServiceName\t\tObject_Domain\t\r\nd\ta\ta\t\tCORP\t\r\n");
  EXPECT_EQ(row[0], "a") << "the values stay for the next row";
}

// What the security hand-over relies on: a row written while another row of
// the same file is being filled leaves that row's values alone.
TEST_F(RunOutputTest, RowsOfOneFileKeepTheirOwnValues) {
  TypedOutput out;
  ASSERT_TRUE(OpenServices(Config("[Services]\nServiceColumns=0,1\n"), out));
  Row outer(output_, out, nullptr);
  outer[0] = "outer";
  {
    Row inner(output_, out, nullptr);
    inner[1] = "inner";
    inner.Write();
  }
  outer[1] = "second";
  outer.Write();
  out.file.Close();
  EXPECT_EQ(dir_.Read("services.txt"), "ServiceName\tServiceDesc\r\n\tinner\r\nouter\tsecond\r\n");
}

TEST_F(RunOutputTest, UnicodeAppendWritesMarkAndTitleEveryTime) {
  output_.settings().unicode = true;
  output_.settings().append = true;
  const Configuration config = Config("[Services]\nServiceColumns=0\n");
  for (int run = 0; run < 2; ++run) {
    TypedOutput out;
    ASSERT_TRUE(OpenServices(config, out));
    Row row(output_, out, nullptr);
    row[0] = "\xC3\xA9\xE2\x82\xAC";  // é€
    row.Write();
  }
  constexpr char kOnce[] = "\xFF\xFES\0e\0r\0v\0i\0c\0e\0N\0a\0m\0e\0\n\0\xE9\0\xAC\x20\n\0";
  const std::string once(kOnce, sizeof kOnce - 1);
  EXPECT_EQ(dir_.Read("services.txt"), once + once);
}

TEST_F(RunOutputTest, EightBitFilesReplaceWideCharactersAndExpandLineFeeds) {
  output_.settings().line_terminator = "\r\n";
  TypedOutput out;
  ASSERT_TRUE(OpenServices(Config("[Services]\nServiceColumns=0\n"), out));
  Row row(output_, out, nullptr);
  row[0] = "caf\xC3\xA9 \xE2\x82\xAC";
  row.Write();
  out.file.Close();
  // A CR LF terminator becomes CR CR LF, as a text-mode file writes it.
  EXPECT_EQ(dir_.Read("services.txt"), "ServiceName\r\r\ncaf\xE9 ?\r\r\n");
}

TEST_F(RunOutputTest, OutputFileNames) {
  TypedOutput out;
  ASSERT_TRUE(OpenServices(Config("[Services]\nServicesOutputFile=inv_%YYYY%%MM%%DD%.txt\n"), out));
  EXPECT_EQ(out.file.path(), dir_.File("inv_20260305.txt"));

  std::filesystem::create_directory(dir_.File("sub"));
  TypedOutput other;
  ASSERT_TRUE(OpenServices(Config("[Services]\nServicesOutputFile=" + dir_.path() +
                                  "\\sub\\%Dow%_%DOW%_%dow%_%yyyy%.txt\n"),
                           other));
  EXPECT_EQ(other.file.path(), dir_.File("sub/Thursday_THURSDAY_thursday_%yyyy%.txt"));
}

TEST_F(RunOutputTest, DuplicatePathsAreRecordedOnce) {
  output_.RecordOutputFile(kServices, "Services", "/x/A.txt");
  output_.RecordOutputFile(kShares, "Shares", "/x/a.TXT");
  output_.RecordOutputFile(kShares, "Shares", "/x/b.txt");
  ASSERT_EQ(output_.output_files().size(), 2u);
  EXPECT_EQ(output_.output_files()[0].display_name, "Services");
}

TEST_F(RunOutputTest, UnopenableOutputFileShowsTheMessage) {
  TypedOutput out;
  EXPECT_FALSE(OpenServices(
      Config("[Services]\nServicesOutputFile=" + dir_.path() + "/missing/s.txt\n"), out));
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0], "Unable to open 'Output File' file " + dir_.path() +
                                    "/missing/s.txt. Check access permissions to this file on "
                                    "the account being used. The file could not be found.");
}

TEST_F(RunOutputTest, TemplateFileWithoutOutputNameFailsWithEmptyPath) {
  Configuration templates = Config("[T]\nOutputColumns=a\n");
  TemplateOutput out;
  EXPECT_FALSE(output_.OpenTemplateOutputFile(templates, "T", "a,", out));
  EXPECT_EQ(out.file, nullptr);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_TRUE(messages_.shown[0].starts_with("Unable to open 'Output File' file . Check"))
      << messages_.shown[0];
}

TEST_F(RunOutputTest, TemplateTitleRowTranslatesSymbols) {
  Configuration templates = Config("[T]\nOutputFileName=t.txt\n");
  TemplateOutput out;
  ASSERT_TRUE(output_.OpenTemplateOutputFile(templates, "T", "%object_name%,Size,%Custom%,", out));
  ASSERT_NE(out.file, nullptr);
  EXPECT_EQ(out.path, dir_.File("t.txt"));
  EXPECT_TRUE(output_.output_files().empty());
  Row row(output_, *out.file, 3);
  row[0] = "x";
  row[1] = "y";
  row.Write();
  output_.CloseAll({});  // the run closes the template files it opened
  EXPECT_EQ(dir_.Read("t.txt"), "Object_Name\tSize\tCustom\r\nx\ty\t\r\n");
}

TEST_F(RunOutputTest, LogLines) {
  output_.settings().enable_logging = true;
  ASSERT_TRUE(output_.OpenLog("Export.log", false));
  tagCObjects target;
  target.display_name = "\\\\PC1";
  target.path = "\\\\pc1.corp.example";
  target.domain = "CORP";
  output_.LogLine(&target, "SERVICES", false, "");
  output_.LogLine(nullptr, "MSG", true, "oops");
  output_.settings().log_success = false;
  output_.LogLine(&target, "COMPUTERS", false, "hidden");
  output_.LogLine(&target, "PING", true, "Ping failed.");
  output_.CloseAll({});
  EXPECT_EQ(dir_.Read("Export.log"),
            "3/5/2026 14:07:09\tPC1\tpc1.corp.example\tCORP\tSERVICES\tSUCCESS\t\r\n"
            "3/5/2026 14:07:09\tMSG\tERROR\toops\r\n"
            "3/5/2026 14:07:09\tPC1\tpc1.corp.example\tCORP\tPING\tERROR\tPing failed.\r\n");
  ASSERT_EQ(output_.output_files().size(), 1u);
  EXPECT_EQ(output_.output_files()[0].type, kNoExportType);
  EXPECT_EQ(output_.output_files()[0].display_name, "Export Log File");
}

TEST_F(RunOutputTest, SuppressedMessagesGoToTheLogOnlyWhenItIsOpen) {
  output_.settings().suppress_messages = true;
  output_.GeneralFailure("before the log");
  EXPECT_EQ(messages_.shown.size(), 1u);
  output_.settings().enable_logging = true;
  ASSERT_TRUE(output_.OpenLog("Export.log", false));
  output_.GeneralFailure("after");
  EXPECT_TRUE(output_.AskYesNo("continue?", true));
  output_.CloseAll({});
  EXPECT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(dir_.Read("Export.log"),
            "3/5/2026 14:07:09\tMSG\tERROR\tafter\r\n3/5/2026 14:07:09\tMSG\tERROR\tcontinue?\r\n");
}

// Without a progress list only failure rows are reported; with one, every
// row is, numbered, and a failure row is reported both ways.
TEST_F(RunOutputTest, ProgressRowsOnlyWithAProgressList) {
  EXPECT_EQ(output_.AddProgressRow("\\\\PC1", "x", 0, ProgressKind::kWorkstation), -1);
  output_.AddProgressRow("\\\\PC1", "Ping failed. ", 0, ProgressKind::kFailure);
  EXPECT_TRUE(messages_.rows.empty());
  EXPECT_EQ(messages_.failure_rows, std::vector<std::string>{"PC1: Ping failed."});

  RecordingObserver observer;
  RunOutput listed(platform_, observer, true);
  const int row =
      listed.AddProgressRow("\\\\PC1", "Exporting Services...  \t", 1, ProgressKind::kServices);
  listed.AppendProgress(row, "Access was denied.", kFailureImage);
  EXPECT_EQ(listed.AddProgressRow("PC2", "Ping failed.", 0, ProgressKind::kFailure), 1);
  EXPECT_EQ(observer.Lines(),
            (std::vector<std::string>{"1|88|PC1|Exporting Services...Access was denied.",
                                      "0|52|PC2|Ping failed."}));
  EXPECT_EQ(observer.failure_rows, std::vector<std::string>{"PC2: Ping failed."});
}

TEST(ValueHelpers, LineBreaksAndLists) {
  EXPECT_EQ(format::ReplaceLineBreaks("one\r\ntwo", "~"), "one~~two");
  EXPECT_EQ(format::ReplaceLineBreaks("one\r\ntwo", ""), "one");
  EXPECT_EQ(format::ReplaceLineBreaks("a\nb", "\xC3\xA9xyz"),
            "a\xC3\xA9"
            "b");
  EXPECT_EQ(JoinList({"LanmanWorkstation", "Netlogon"}, "^"), "LanmanWorkstation^Netlogon");
  EXPECT_EQ(JoinList({}, "^"), "");
  EXPECT_EQ(JoinList({"a", "", "b"}, "^"), "a");
}

TEST(Messages, TableAndFilling) {
  EXPECT_EQ(MessageText(1), "");
  EXPECT_EQ(FormatMessageId(kMsgObjectsProcessed, {"12"}), "12 Objects Processed.");
  EXPECT_EQ(FillMessage("%s and %d and %% and %s", {"a", "1"}), "a and 1 and % and %s");
  EXPECT_EQ(FillMessage("Error getting sessions on '%s'. Error = %d. ", {"\\\\PC", "5"}),
            "Error getting sessions on '\\\\PC'. Error = 5. ");
}

}  // namespace
}  // namespace tabulon
