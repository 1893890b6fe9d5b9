// Shares, share connections, file-server sessions and open files exported
// end to end from small estates.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/utf8_path.h"
#include "support/e2e.h"

namespace tabulon::testing {
namespace {

constexpr std::string_view kEstate = R"({
  "computers": [
    {"name": "FS01", "default_shares": true,
     "disks": [{"drive": "C", "total_bytes": 100}, {"drive": "D", "total_bytes": 100}],
     "shares": [
       {"name": "Data", "remark": "Team\r\ndata", "path": "D:\\Data", "max_uses": 10,
        "connections": [
          {"user": "ann", "computer": "WS01", "opens": 2, "time": 3725},
          {"user": "bob", "computer": "WS02", "users": 3, "time": 90000}
        ]},
       {"name": "Laser", "type": "PRINTQ", "remark": "2nd floor", "path": "LPT1:",
        "connections": [{"user": "cy", "computer": "WS03", "time": 59}]},
       {"name": "Tape", "type": "DEVICE", "path": "TAPE0"},
       {"name": "Hidden$", "path": "D:\\Hidden"},
       {"name": "Odd", "type": ["SPECIAL", 3], "max_uses": 4294967294}
     ],
     "sessions": [
       {"computer": "WS01", "user": "ann", "opens": 2, "time": 3725, "idle_time": 60,
        "transport": "\\Device\\NetbiosSmb"},
       {"computer": "192.0.2.77", "user": "", "time": 5}
     ],
     "open_files": [
       {"id": 101, "path": "D:\\Data\\plan.xlsx", "user": "ann", "permissions": ["READ", "WRITE"],
        "locks": 1},
       {"id": 4294967295, "path": "D:\\Data\\notes.txt", "user": "bob", "permissions": 35}
     ]},
    {"name": "OLD", "refuse_session_502": "ERROR_INVALID_LEVEL",
     "shares": [{"name": "Public", "path": "C:\\Public"}],
     "sessions": [{"computer": "WS09", "user": "dee", "opens": 1, "time": 30, "idle_time": 2,
                   "transport": "never shown"}]},
    {"name": "DENIED",
     "failures": {"NetShareEnum": "ERROR_ACCESS_DENIED", "NetSessionEnum": 5,
                  "NetFileEnum": "RPC_S_SERVER_UNAVAILABLE"}}
  ]
})";

class SharesSessionsFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    run_.SetEstate(kEstate);
    run_.SetObjects(
        {{24, "FS01", "\\\\FS01"}, {24, "OLD", "\\\\OLD"}, {24, "DENIED", "\\\\DENIED"}});
  }
  EndToEnd run_;
};

TEST_F(SharesSessionsFiles, SharesAndConnectionsFromOnePass) {
  run_.SetConfiguration(
      "[General]\nEnableLogging=1\n[Shares]\nExportShares=1\n"
      "[ExportShareConnections]\nExportShareConnections=1\n");
  run_.Run();
  EXPECT_EQ(run_.Output("shares.txt"),
            "Object_Path\tShareName\tShareType\tShareComment\tShareMaxUsers\tShareCurrentUsers\t"
            "SharePath\r\n"
            "\\\\FS01\tADMIN$\tADMIN\tRemote Admin\tUNLIMITED\t0\tC:\\Windows\r\n"
            "\\\\FS01\tC$\tADMIN\tDefault share\tUNLIMITED\t0\tC:\\\r\n"
            "\\\\FS01\tD$\tADMIN\tDefault share\tUNLIMITED\t0\tD:\\\r\n"
            "\\\\FS01\tIPC$\t\tRemote IPC\tUNLIMITED\t0\t\r\n"
            "\\\\FS01\tData\tDISK\tTeam~~data\t10\t2\tD:\\Data\r\n"
            "\\\\FS01\tLaser\tPRINT\t2nd floor\tUNLIMITED\t1\tLPT1:\r\n"
            "\\\\FS01\tTape\tDEVICE\t\tUNLIMITED\t0\tTAPE0\r\n"
            "\\\\FS01\tHidden$\tDISK\t\tUNLIMITED\t0\tD:\\Hidden\r\n"
            "\\\\FS01\tOdd\t\t\t-2\t0\t\r\n"
            "\\\\OLD\tPublic\tDISK\t\tUNLIMITED\t0\tC:\\Public\r\n");
  EXPECT_EQ(run_.Output("share_connections.txt"),
            "Object_Path\tShareConnectionShareName\tShareConnectionUserName\t"
            "ShareConnectionComputerName\tShareConnectionUsers\tShareConnectionOpens\t"
            "ShareConnectionTime\r\n"
            "\\\\FS01\tData\tann\tWS01\t1\t2\t1:02\r\n"
            "\\\\FS01\tData\tbob\tWS02\t3\t0\t25:00\r\n"
            "\\\\FS01\tLaser\tcy\tWS03\t1\t0\t0:00\r\n");
  EXPECT_EQ(run_.Output("Export.log"),
            "3/5/2026 14:07:09\tFS01\tFS01\t\tSHARES\tSUCCESS\t\r\n"
            "3/5/2026 14:07:09\tOLD\tOLD\t\tSHARES\tSUCCESS\t\r\n"
            "3/5/2026 14:07:09\tDENIED\tDENIED\t\tSHARES\tERROR\tError getting shares on "
            "'\\\\DENIED'. Access was denied.\r\n");
  const std::vector<std::string> expected_progress = {
      "0|7|FS01|Exporting...",
      "1|14|FS01|Exporting Shares...",
      "0|7|OLD|Exporting...",
      "1|14|OLD|Exporting Shares...",
      "0|7|DENIED|Exporting...",
      "1|88|DENIED|Exporting Shares...Error getting shares on '\\\\DENIED'. Access was denied.",
      "0|53|Export Completed.|3 Objects Processed.",
  };
  EXPECT_EQ(run_.ProgressLines(), expected_progress);
  // One connection listing per share, at the asked length, from the start.
  std::size_t connection_calls = 0;
  for (const auto& call : run_.backend().call_log().Calls()) {
    if (call.operation != "NetConnectionEnum") continue;
    ++connection_calls;
    EXPECT_NE(call.detail.find("level=1 prefmaxlen=65536 resume=0"), std::string::npos)
        << call.detail;
  }
  EXPECT_EQ(connection_calls, 10u);
}

TEST_F(SharesSessionsFiles, ShowSettingsActOnWholeTypesAndTheDollarRule) {
  struct Case {
    const char* settings;
    const char* names;  // share names of FS01 written, in order
  };
  const Case cases[] = {
      {"ShowHiddenShares=0\nShowAdminShares=1\n", "Data Laser Tape Odd "},
      {"ShowAdminShares=0\n", "IPC$ Data Laser Tape Hidden$ Odd "},
      {"ShowFileShares=0\n", "ADMIN$ C$ D$ IPC$ Laser Tape Odd "},
      {"ShowPrintShares=0\n", "ADMIN$ C$ D$ IPC$ Data Tape Hidden$ Odd "},
      {"ShowFileShares=0\nShowPrintShares=0\nShowAdminShares=0\nShowHiddenShares=0\n", "Tape Odd "},
  };
  run_.SetObjects({{24, "FS01", "\\\\FS01"}});
  for (const Case& c : cases) {
    run_.SetConfiguration(std::string("[Shares]\nExportShares=1\nSharesColumns=0\n") + c.settings);
    run_.Run();
    std::string names;
    const std::string file = run_.Output("shares.txt");
    for (std::size_t pos = file.find("\r\n") + 2; pos < file.size();) {
      const std::size_t end = file.find("\r\n", pos);
      names += file.substr(pos, end - pos) + " ";
      pos = end + 2;
    }
    EXPECT_EQ(names, c.names) << c.settings;
  }
}

TEST_F(SharesSessionsFiles, ConnectionsAloneSeeEveryShareWhateverTheShowSettings) {
  run_.SetObjects({{24, "FS01", "\\\\FS01"}});
  run_.SetConfiguration(
      "[General]\nVerboseProgress=0\n[Shares]\nShowFileShares=0\nShowPrintShares=0\n"
      "[ExportShareConnections]\nExportShareConnections=1\nShareConnectionsColumns=0,1\n");
  run_.Run();
  EXPECT_EQ(run_.Output("share_connections.txt"),
            "ShareConnectionShareName\tShareConnectionUserName\r\n"
            "Data\tann\r\nData\tbob\r\nLaser\tcy\r\n");
  EXPECT_FALSE(std::filesystem::exists(platform::Utf8Path(run_.dir().File("shares.txt"))));
  EXPECT_EQ(run_.ProgressLines(),
            (std::vector<std::string>{"0|7|FS01|Exporting...",
                                      "0|53|Export Completed.|1 Objects Processed."}));
}

TEST_F(SharesSessionsFiles, FailedConnectionListingsAreSilent) {
  run_.SetEstate(R"({"computers": [{"name": "S",
    "shares": [{"name": "A", "connections": [{"user": "u", "computer": "C1"}]},
               {"name": "B", "connections": [{"user": "v", "computer": "C2"}]}],
    "failures": {"NetConnectionEnum": {"status": "ERROR_ACCESS_DENIED", "after_calls": 1}}}]})");
  run_.SetObjects({{24, "S", "\\\\S"}});
  run_.SetConfiguration(
      "[General]\nEnableLogging=1\n[ExportShareConnections]\nExportShareConnections=1\n"
      "ShareConnectionsColumns=0,1,2\n");
  run_.Run();
  EXPECT_EQ(run_.Output("share_connections.txt"),
            "ShareConnectionShareName\tShareConnectionUserName\tShareConnectionComputerName\r\n"
            "A\tu\tC1\r\n");
  EXPECT_EQ(run_.Output("Export.log"), "3/5/2026 14:07:09\tS\tS\t\tSHARES\tSUCCESS\t\r\n");
}

TEST_F(SharesSessionsFiles, SessionsFallBackToLevelOneAndReportTheStatus) {
  run_.SetConfiguration("[General]\nEnableLogging=1\n[Sessions]\nExportSessions=1\n");
  run_.Run();
  EXPECT_EQ(run_.Output("sessions.txt"),
            "Object_Path\tSessionComputerName\tSessionUserName\tSessionTransport\tSessionOpens\t"
            "SessionActiveTime\tSessionIdleTime\r\n"
            "\\\\FS01\tWS01\tann\t\\Device\\NetbiosSmb\t2\t3725\t60\r\n"
            "\\\\FS01\t192.0.2.77\t\t\t0\t5\t0\r\n"
            "\\\\OLD\tWS09\tdee\t\t1\t30\t2\r\n");
  EXPECT_EQ(run_.Output("Export.log"),
            "3/5/2026 14:07:09\tFS01\tFS01\t\tSESSIONS\tSUCCESS\t\r\n"
            "3/5/2026 14:07:09\tOLD\tOLD\t\tSESSIONS\tSUCCESS\t\r\n"
            "3/5/2026 14:07:09\tDENIED\tDENIED\t\tSESSIONS\tERROR\tError getting sessions on "
            "'\\\\DENIED'. Error = 5. Access was denied.\r\n");
  EXPECT_EQ(run_.ProgressLines()[5],
            "1|88|DENIED|Exporting Sessions...Error getting sessions on '\\\\DENIED'. Error = 5. "
            "Access was denied.");
  const std::vector<std::string> levels = run_.Calls("NetSessionEnum");
  EXPECT_EQ(levels, (std::vector<std::string>{
                        "\\\\FS01 client= user= level=502 prefmaxlen=65536 resume=0",
                        "\\\\OLD client= user= level=502 prefmaxlen=65536 resume=0",
                        "\\\\OLD client= user= level=1 prefmaxlen=65536 resume=0",
                        "\\\\DENIED client= user= level=502 prefmaxlen=65536 resume=0",
                        "\\\\DENIED client= user= level=1 prefmaxlen=65536 resume=0",
                    }));
}

TEST_F(SharesSessionsFiles, SessionsBeyondOneBufferArePagedWithTheResumeHandle) {
  // Each SESSION_INFO_502 here takes 32 bytes and about 200 of text, so
  // 65536 bytes hold some 280 of the 1000: four pages.
  std::string sessions;
  for (int i = 0; i < 1000; ++i) {
    if (i != 0) sessions += ",";
    sessions += R"({"computer": "CLIENT)" + std::to_string(i) +
                R"(", "user": "user-with-a-rather-long-name", "time": )" + std::to_string(i) +
                R"(, "transport": "\\Device\\NetBT_Tcpip_{00000000-0000-0000-0000-000000000000}"})";
  }
  run_.SetEstate(R"({"computers": [{"name": "BUSY", "sessions": [)" + sessions + "]}]}");
  run_.SetObjects({{24, "BUSY", "\\\\BUSY"}});
  run_.SetConfiguration("[Sessions]\nExportSessions=1\nSessionsColumns=4\n");
  run_.Run();
  std::string expected = "SessionActiveTime\r\n";
  for (int i = 0; i < 1000; ++i) expected += std::to_string(i) + "\r\n";
  EXPECT_EQ(run_.Output("sessions.txt"), expected);
  EXPECT_EQ(run_.backend().call_log().Count("NetSessionEnum"), 4u);
}

TEST_F(SharesSessionsFiles, OpenFilesAndTheirFailure) {
  run_.SetConfiguration(
      "[General]\nEnableLogging=1\nVerboseProgress=0\n[OpenFiles]\nExportOpenFiles=1\n");
  run_.Run();
  EXPECT_EQ(run_.Output("open_files.txt"),
            "Object_Path\tOpenFilesUser\tOpenFilesPath\tOpenFilesId\tOpenFilesPerms\t"
            "OpenFilesLocks\r\n"
            "\\\\FS01\tann\tD:\\Data\\plan.xlsx\t101\t3\t1\r\n"
            "\\\\FS01\tbob\tD:\\Data\\notes.txt\t-1\t35\t0\r\n");
  EXPECT_EQ(run_.Output("Export.log"),
            "3/5/2026 14:07:09\tFS01\tFS01\t\tOPEN_FILES\tSUCCESS\t\r\n"
            "3/5/2026 14:07:09\tOLD\tOLD\t\tOPEN_FILES\tSUCCESS\t\r\n"
            "3/5/2026 14:07:09\tDENIED\tDENIED\t\tOPEN_FILES\tERROR\tError getting open files on "
            "'\\\\DENIED'. The RPC server is not available.\r\n");
  EXPECT_EQ(run_.ProgressLines(),
            (std::vector<std::string>{
                "0|7|FS01|Exporting...", "0|7|OLD|Exporting...", "0|7|DENIED|Exporting...",
                "1|52|DENIED|Error getting open files on '\\\\DENIED'. The RPC server is not "
                "available.",
                "0|53|Export Completed.|3 Objects Processed."}));
}

TEST_F(SharesSessionsFiles, RunOrderIsSharesSessionsThenOpenFiles) {
  run_.SetObjects({{24, "FS01", "\\\\FS01"}});
  run_.SetConfiguration(
      "[Shares]\nExportShares=1\n[Sessions]\nExportSessions=1\n[OpenFiles]\nExportOpenFiles=1\n");
  run_.Run();
  EXPECT_EQ(run_.ProgressLines(),
            (std::vector<std::string>{"0|7|FS01|Exporting...", "1|14|FS01|Exporting Shares...",
                                      "1|26|FS01|Exporting Sessions...",
                                      "1|4|FS01|Exporting Open Files...",
                                      "0|53|Export Completed.|1 Objects Processed."}));
}

}  // namespace
}  // namespace tabulon::testing
