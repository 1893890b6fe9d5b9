// The run itself: targets, expansion, skip list, filter, ping and the
// messages that stop a run, end to end on small estates.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/utf8_path.h"
#include "support/e2e.h"

namespace tabulon::testing {
namespace {

constexpr std::string_view kEstate = R"({
  "local_computer": "ADMIN",
  "domains": [
    {"name": "CORP", "controller": "DC1",
     "computer_accounts": ["DC1$", "PC1$", {"name": "FS1$", "flags": ["SERVER_TRUST_ACCOUNT"]},
                           {"name": "TRUST$", "flags": ["INTERDOMAIN_TRUST_ACCOUNT"]}]},
    {"name": "GONE", "controller": "GONEDC"}
  ],
  "computers": [
    {"name": "DC1", "domain": "CORP", "server": {"type": ["SERVER", "PDC", "NT"]}},
    {"name": "PC1", "domain": "CORP", "server": {"type": ["WORKSTATION", "NT"], "comment": "desk"}},
    {"name": "FS1", "domain": "CORP", "server": {"type": ["SERVER", "NT"]}},
    {"name": "GONEDC", "offline": true},
    {"name": "WEB01", "server": {"type": ["SERVER"]}},
    {"name": "PC22", "server": {"type": ["WORKSTATION"]}},
    {"name": "MYSQLHOST", "server": {"type": ["SQL"]}},
    {"name": "QUIET", "ping": {"answers": false}},
    {"name": "LOCKED", "failures": {"NetServerGetInfo": "ERROR_ACCESS_DENIED"}},
    {"name": "ADMIN"}
  ]
})";

class RunDriver : public ::testing::Test {
 protected:
  void SetUp() override { run_.SetEstate(kEstate); }
  std::string ComputerNames() {
    std::string names;
    const std::string file = run_.Output("computers.txt");
    std::size_t pos = file.find("\r\n") + 2;  // past the title row
    while (pos < file.size()) {
      const std::size_t end = file.find("\r\n", pos);
      names += file.substr(pos, file.find('\t', pos) - pos) + " ";
      pos = end + 2;
    }
    return names;
  }
  EndToEnd run_;
};

TEST_F(RunDriver, MissingObjectFileSettingStopsTheRun) {
  run_.SetConfiguration("[General]\nObjectFile=\"\"\n");
  run_.dir().Write("cfg.ini", "[Services]\nExportServices=1\n");
  const RunResult result = run_.Run();
  EXPECT_TRUE(result.stopped_early);
  ASSERT_EQ(run_.Messages().size(), 1u);
  EXPECT_EQ(run_.Messages()[0],
            "Missing \"ObjectFile\" setting in configuration file " + run_.dir().File("cfg.ini") +
                ".  The object file path and name must be set under Configuration->Export "
                "Properties->File Locations.");
  EXPECT_TRUE(result.output_files.empty()) << "nothing is opened";
}

TEST_F(RunDriver, InactiveObjectsOnlyGiveNoObjectsMessage) {
  run_.SetConfiguration("[Services]\nExportServices=1\n");
  run_.SetObjects(
      {{51, "Old", "", false}, {24, "PC1", "\\\\PC1", true, 1}, {24, "PC22", "\\\\PC22", false}});
  const RunResult result = run_.Run();
  EXPECT_TRUE(result.stopped_early);
  ASSERT_EQ(run_.Messages().size(), 1u);
  EXPECT_TRUE(run_.Messages()[0].starts_with("No objects found to export."));
  // The services file was opened before the targets were read.
  EXPECT_EQ(run_.Output("services.txt").substr(0, 12), "Object_Path\t");
}

TEST_F(RunDriver, UnopenableObjectFile) {
  // A directory opens but cannot be read: as unopenable as a missing file.
  std::filesystem::create_directory(platform::Utf8Path(run_.dir().File("folder.dat")));
  for (const auto& [name, cause] :
       {std::pair<std::string, std::string>{"none.dat", "The file could not be found."},
        {"folder.dat", "Access was denied."}}) {
    run_.SetConfiguration("[General]\nObjectFile=" + run_.dir().File(name) + "\n");
    const RunResult result = run_.Run();
    EXPECT_TRUE(result.stopped_early);
    ASSERT_EQ(run_.Messages().size(), 1u);
    EXPECT_EQ(run_.Messages()[0], "Unable to open 'Object File' file " + run_.dir().File(name) +
                                      ". Check access permissions to this file on the account "
                                      "being used. " +
                                      cause);
  }
}

TEST_F(RunDriver, DefaultTemplateFileNamesFindTheCopiesOfFirstStart) {
  // First start copies the template files under lower-case names; the
  // default names find them in the data directory whatever their case, and
  // a file of exactly the name wins.
  run_.dir().Write("regtemplates.cfg", "[R]\nOutputFileName=reg.txt\nOutputColumns=Hive\n");
  run_.dir().Write("WMIQUERIES.cfg", "[W]\nOutputFileName=upper.txt\nOutputColumns=Name\n");
  run_.dir().Write("WmiQueries.CFG", "[W]\nOutputFileName=wmi.txt\nOutputColumns=Caption\n");
  run_.dir().Write("filetemplates.cfg", "[F]\nOutputFileName=files.txt\nOutputColumns=1002\n");
  run_.dir().Write("directoryqueries.cfg", "[D]\nOutputFileName=dir.txt\nAttributes=cn\n");
  run_.SetObjects({{24, "PC22", "\\\\PC22"}});
  run_.SetConfiguration(
      "[Templates]\nRegistryTemplates=R\nWmiTemplates=W\nFileTemplates=F\n"
      "DirectoryTemplates=D\n");
  const RunResult result = run_.Run();
  EXPECT_FALSE(result.stopped_early) << ::testing::PrintToString(run_.Messages());
  EXPECT_EQ(run_.Output("reg.txt"), "Hive\r\n");
  EXPECT_EQ(run_.Output("wmi.txt"), "Caption\r\n");
  EXPECT_EQ(run_.Output("upper.txt"), "");
  EXPECT_EQ(run_.Output("files.txt"), "Object_Path\r\n");
  EXPECT_EQ(run_.Output("dir.txt"), "cn\r\n");
}

TEST_F(RunDriver, NtDomainFromBrowseListAndFromAccounts) {
  run_.SetObjects({{99, "CORP", "CORP"}});
  run_.SetConfiguration("[Computers]\nExportComputers=1\nComputerColumns=0,1006\n");
  run_.Run();
  EXPECT_EQ(run_.Output("computers.txt"),
            "ComputerName\tObject_Domain\r\nDC1\tCORP\r\nPC1\tCORP\r\nFS1\tCORP\r\n");

  run_.SetConfiguration(
      "[General]\nComputerSource=0\n[Computers]\nExportComputers=1\nComputerColumns=0,1005,1006\n");
  run_.Run();
  // Accounts come sorted by name; the controller is added first and skipped
  // among the accounts; an interdomain trust gets type 0 and no exporter.
  EXPECT_EQ(run_.Output("computers.txt"),
            "ComputerName\tObject_Type\tObject_Domain\r\nDC1\t31\tCORP\r\nFS1\t32\tCORP\r\n"
            "PC1\t24\tCORP\r\n");
  EXPECT_EQ(run_.ProgressLines()[0],
            "0|1|CORP|Retrieving computer names from domain controller "
            "'\\\\DC1'...");
}

TEST_F(RunDriver, DomainWithoutControllerIsReported) {
  run_.SetObjects({{99, "GONE", "GONE"}, {24, "PC22", "\\\\PC22"}});
  run_.SetConfiguration("[Computers]\nExportComputers=1\nComputerColumns=0\n");
  const RunResult result = run_.Run();
  const std::string text =
      "Unable to lookup domain controller for domain 'GONE'. Could not find domain controller "
      "for this domain.";
  ASSERT_EQ(run_.Messages().size(), 1u);
  EXPECT_EQ(run_.Messages()[0], text);
  EXPECT_EQ(run_.ProgressLines()[0], "0|52|GONE|" + text);
  EXPECT_EQ(result.targets_processed, 2u) << "the domain itself stays in the list";
  EXPECT_EQ(run_.Output("computers.txt"), "ComputerName\r\nPC22\r\n");
}

TEST_F(RunDriver, SkipListPatternsAndIncludeFile) {
  run_.dir().Write("skip.txt", "PC*\r\n*01\r\n*SQL*\r\nWEB*01\r\n");
  run_.dir().Write("include.txt", "WEB01\r\n\\\\PC22\r\nMYSQLHOST\r\nLOCKED\r\n");
  run_.SetObjects({{52, "hosts", run_.dir().File("include.txt")}});
  run_.SetConfiguration(
      "[Computers]\nExportComputers=1\nComputerColumns=0\nSkipEnable=1\n"
      "SkipFileName=" +
      run_.dir().File("skip.txt") + "\n");
  const RunResult result = run_.Run();
  EXPECT_EQ(result.targets_processed, 4u) << "the include file itself is not counted";
  EXPECT_EQ(run_.Output("computers.txt"), "ComputerName\r\nLOCKED\r\n");
}

TEST_F(RunDriver, UnopenableIncludeFileStopsTheRun) {
  std::filesystem::create_directory(platform::Utf8Path(run_.dir().File("folder.txt")));
  for (const char* name : {"none.txt", "folder.txt"}) {
    run_.SetObjects({{24, "PC22", "\\\\PC22"}, {52, "hosts", run_.dir().File(name)}});
    run_.SetConfiguration("[Computers]\nExportComputers=1\nComputerColumns=0\n");
    const RunResult result = run_.Run();
    EXPECT_TRUE(result.stopped_early);
    EXPECT_EQ(result.targets_processed, 0u);
    ASSERT_EQ(run_.Messages().size(), 1u);
    EXPECT_TRUE(run_.Messages()[0].starts_with("Unable to open 'Include File' file " +
                                               run_.dir().File(name) + ". "))
        << run_.Messages()[0];
    EXPECT_EQ(run_.Output("computers.txt"), "ComputerName\r\n") << "no target was exported";
  }
}

TEST_F(RunDriver, FilterBeforeAndAfterServerInformation) {
  run_.SetObjects({{99, "CORP", "CORP"}, {24, "WEB01", "\\\\WEB01"}, {24, "PC22", "\\\\PC22"}});
  // 0x8 (PDC): the browse list knows every type, the others are read.
  run_.SetConfiguration(
      "[Computers]\nExportComputers=1\nComputerColumns=0\nFilteringEnable=1\n"
      "FilteringType=8\n");
  run_.Run();
  EXPECT_EQ(run_.Output("computers.txt"), "ComputerName\r\nDC1\r\n");
}

TEST_F(RunDriver, PingRetriesAndFailureRows) {
  run_.SetObjects({{24, "QUIET", "\\\\QUIET"}, {24, "PC22", "\\\\PC22"}});
  run_.SetConfiguration(
      "[General]\nEnableLogging=1\n[Computers]\nExportComputers=1\nComputerColumns=0,1\n"
      "PingEnable=1\nPingRetry=3\nPingTimeout=50\nPingRetryMultiplier=2\nPingType=1\n");
  run_.Run();
  const std::vector<std::string> pings = run_.Calls("SystemEcho");
  ASSERT_EQ(pings.size(), 4u);
  EXPECT_NE(pings[0].find("timeout=50"), std::string::npos) << pings[0];
  EXPECT_NE(pings[1].find("timeout=100"), std::string::npos) << pings[1];
  EXPECT_NE(pings[2].find("timeout=200"), std::string::npos) << pings[2];
  EXPECT_NE(pings[3].find("timeout=50"), std::string::npos) << "the next computer starts again";
  EXPECT_EQ(run_.Output("computers.txt"), "ComputerName\tComputerComment\r\nQUIET\t\r\nPC22\t\r\n");
  EXPECT_EQ(run_.ProgressLines()[0], "0|52|QUIET|Ping failed.");
  EXPECT_TRUE(run_.Output("Export.log")
                  .starts_with("3/5/2026 14:07:09\tQUIET\tQUIET\t\tPING\tERROR\tPing failed.\r\n"));
}

TEST_F(RunDriver, PingSettingsAreBounded) {
  struct Case {
    const char* settings;
    std::vector<std::string> timeouts;
  } cases[] = {
      // Ten attempts at most, each waiting a minute at most; the multiplier
      // saturates instead of overflowing.
      {"PingRetry=99999999999999999999\nPingTimeout=99999999999\nPingRetryMultiplier=10\n",
       std::vector<std::string>(10, "60000")},
      {"PingRetry=20\nPingTimeout=50\nPingRetryMultiplier=2147483647\n",
       {"50", "500", "5000", "50000", "60000", "60000", "60000", "60000", "60000", "60000"}},
      {"PingRetry=2\nPingTimeout=-5\nPingRetryMultiplier=-3\n", {"0", "0"}},
  };
  run_.SetObjects({{24, "QUIET", "\\\\QUIET"}});
  for (const Case& c : cases) {
    run_.SetConfiguration(std::string("[Computers]\nPingEnable=1\nPingType=1\n") + c.settings);
    run_.Run();
    std::vector<std::string> timeouts;
    for (const auto& call : run_.backend().call_log().Calls()) {
      if (call.operation != "SystemEcho") continue;
      const std::size_t at = call.detail.find("timeout=") + 8;
      timeouts.push_back(
          call.detail.substr(at, call.detail.find_first_not_of("0123456789", at) - at));
    }
    EXPECT_EQ(timeouts, c.timeouts) << c.settings;
  }
}

TEST_F(RunDriver, NoPingAttemptsMeansEveryPingFails) {
  run_.SetObjects({{24, "PC22", "\\\\PC22"}});
  run_.SetConfiguration(
      "[Computers]\nExportComputers=1\nPingEnable=1\nPingRetry=0\n"
      "PingHideProgressErrors=1\n");
  run_.Run();
  EXPECT_EQ(run_.backend().call_log().Count("RawEcho"), 0u);
  EXPECT_EQ(run_.ProgressLines().front(), "0|53|Export Completed.|1 Objects Processed.");
}

TEST_F(RunDriver, ServerInformationFailure) {
  run_.SetObjects({{24, "LOCKED", "\\\\LOCKED"}});
  run_.SetConfiguration(
      "[General]\nEnableLogging=1\n[Computers]\nExportComputers=1\nComputerColumns=0,2\n");
  run_.Run();
  const std::string text =
      "Unable to retrieve computer information for '\\\\LOCKED'. Access was denied.";
  EXPECT_EQ(run_.ProgressLines()[0], "0|52|LOCKED|" + text);
  EXPECT_EQ(run_.Output("computers.txt"), "ComputerName\tComputerMajorVersion\r\nLOCKED\t\r\n");
  EXPECT_EQ(run_.Output("Export.log"),
            "3/5/2026 14:07:09\tLOCKED\tLOCKED\t\tREMOTE_ACCESS\tERROR\t" + text + "\r\n");
}

TEST_F(RunDriver, LocalComputerNameAndStopBetweenTargets) {
  run_.SetObjects({{24, "here", "\\\\%COMPUTERNAME%"}, {24, "PC22", "\\\\PC22"}});
  run_.SetConfiguration("[Computers]\nExportComputers=1\nComputerColumns=1002\n");
  run_.observer().on_target = [this](const tagCObjects&) { run_.control().RequestStop(); };
  // The COMPUTERNAME variable wins over the estate's own computer.
  for (const auto& [variable, path] :
       {std::pair<std::string, std::string>{"", "\\\\ADMIN"}, {"PC22", "\\\\PC22"}}) {
    run_.set_computername_variable(variable);
    const RunResult result = run_.Run();
    EXPECT_TRUE(result.aborted_by_user);
    EXPECT_EQ(result.targets_processed, 1u);
    EXPECT_EQ(run_.Output("computers.txt"), "Object_Path\r\n" + path + "\r\n") << variable;
    EXPECT_EQ(run_.ProgressLines().back(), "0|53|Export Aborted By User.|1 Objects Processed.");
  }
}

TEST_F(RunDriver, UnattendedRunHasNoProgressRowsAndMessagesGoToTheLog) {
  run_.SetObjects({{51, "Old", "", false}});
  run_.SetConfiguration("[General]\nEnableLogging=1\n");
  run_.request().suppress_messages = true;
  const RunResult result = run_.Run(false);
  EXPECT_TRUE(result.stopped_early);
  EXPECT_TRUE(run_.Messages().empty());
  EXPECT_TRUE(run_.ProgressLines().empty());
  EXPECT_TRUE(run_.Output("Export.log").starts_with("3/5/2026 14:07:09\tMSG\tERROR\tNo objects"));
}

// A list file that a setting asks for must load; only the skip list turns
// itself off when it has no name.
TEST_F(RunDriver, ListFilesThatCannotBeLoadedStopTheRun) {
  struct Case {
    std::string_view settings;
    bool stops;
  };
  const Case cases[] = {
      {"[Services]\nExportServices=1\nExportSpecificServices=1\nSpecificFileName=\n", true},
      {"[Services]\nExportServices=1\nExportSpecificServices=1\nSpecificFileName=none.txt\n", true},
      {"[Security]\nExportSecurity=1\nExportSpecificTrustees=1\nSpecificFileName=\n", true},
      {"[Computers]\nSkipEnable=1\nSkipFileName=none.txt\n", true},
      {"[Computers]\nSkipEnable=1\nSkipFileName=\n[Services]\nExportServices=1\n", false},
  };
  for (const Case& c : cases) {
    run_.SetConfiguration(c.settings);
    run_.SetObjects({{24, "PC1", "\\\\PC1"}});
    const RunResult result = run_.Run();
    EXPECT_EQ(result.stopped_early, c.stops) << c.settings;
    if (!c.stops) continue;
    ASSERT_EQ(run_.Messages().size(), 1u) << c.settings;
    EXPECT_TRUE(run_.Messages()[0].starts_with("Unable to open 'Exception List' file "))
        << run_.Messages()[0];
  }
}

}  // namespace
}  // namespace tabulon::testing
