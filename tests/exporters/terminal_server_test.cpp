// Terminal-server sessions and processes exported end to end from small
// estates.
#include <gtest/gtest.h>

#include <initializer_list>

#include "engine/messages.h"
#include "support/e2e.h"

namespace tabulon::testing {
namespace {

// TS01's clock reads 14:07:09 UTC, the same moment as the test clock.
constexpr std::string_view kEstate = R"({
  "domains": [{"name": "QUARRY", "sid": "S-1-5-21-4100-4200-4300",
               "accounts": [{"name": "mtanner", "rid": 1121}]}],
  "computers": [
    {"name": "TS01", "domain": "QUARRY", "terminal_services": {
      "current_time": "2026-03-05T14:07:09Z",
      "sessions": [
        {"id": 0, "station": "Services", "state": "Disconnected"},
        {"id": 1, "station": "Console", "state": "Active", "user": "Administrator",
         "domain": "QUARRY", "protocol": "CONSOLE",
         "display": {"horizontal": 1024, "vertical": 768, "color_depth": 4},
         "logon_time": "2026-03-05T08:00:00Z", "connect_time": "2026-03-05T08:00:00Z",
         "last_input_time": "2026-03-05T14:02:09Z"},
        {"id": 2, "station": "RDP-Tcp#7", "state": "Active", "user": "mtanner",
         "domain": "QUARRY", "client_name": "TAPROOM3", "client_build": 22621,
         "client_directory": "C:\\Windows\\System32\\mstscax.dll", "client_product_id": 1,
         "client_hardware_id": 4294967295, "protocol": "RDP", "application_name": "Ledger",
         "initial_program": "C:\\Apps\\ledger.exe", "working_directory": "C:\\Apps",
         "oem_id": "QH",
         "display": {"horizontal": 1920, "vertical": 1080, "color_depth": 8},
         "address": {"family": "AF_INET", "address": "192.168.1.20"},
         "logon_time": "2026-03-05T11:30:00Z", "connect_time": "2026-03-05T11:30:05Z",
         "last_input_time": "2026-03-05T12:00:09Z"},
        {"id": 3, "station": "RDP-Tcp#9", "state": "Disconnected", "user": "jrivers",
         "domain": "QUARRY", "client_name": "CELLARPC", "protocol": 2,
         "display": {"horizontal": 1280, "vertical": 1024, "color_depth": 16},
         "address": {"family": "INET6", "address": "2001:db8::5"},
         "logon_time": "2026-03-04T18:00:00Z", "connect_time": "2026-03-04T18:00:02Z",
         "disconnect_time": "2026-03-05T04:07:09Z", "last_input_time": "2026-03-05T04:00:00Z"},
        {"id": 4, "station": "ICA-tcp#1", "state": 12, "user": "ghost", "client_name": "GHOST",
         "protocol": "ICA", "display": {"horizontal": 800, "vertical": 600, "color_depth": 32},
         "address": {"family": "AF_IPX", "bytes": [0, 0, 0, 1, 0, 96, 151, 18, 52, 86]},
         "unanswered": ["user", "client_name"],
         "failures": {"WinStationQueryInformation": "ERROR_ACCESS_DENIED"}},
        {"id": 65536, "station": "RDP-Tcp", "state": "Listening", "protocol": 9,
         "failures": {"WTSQuerySessionInformation": "ERROR_ACCESS_DENIED"}}
      ],
      "processes": [
        {"session": 0, "id": 0, "name": ""},
        {"session": 0, "id": 4, "name": "System", "sid": "S-1-5-18"},
        {"session": 2, "id": 5120, "name": "explorer.exe", "sid": "S-1-5-21-4100-4200-4300-1121"},
        {"session": 2, "id": 5188, "name": "", "sid": "S-1-5-21-4100-4200-4300-1121"},
        {"session": 3, "id": 7001, "name": "orphan.exe", "sid": "S-1-5-21-9-9-9-1000"}
      ]}},
    {"name": "REFUSER", "failures": {"WTSEnumerateSessions": "ERROR_ACCESS_DENIED",
                                     "WTSEnumerateProcesses": "RPC_S_CALL_FAILED"}},
    {"name": "LOCKED", "failures": {"WTSOpenServer": "ERROR_ACCESS_DENIED"}}
  ]
})";

constexpr std::string_view kTimeUnit = "3/5/2026 14:07:09";

// The title row of the sessions file with every column.
std::string SessionsTitle() {
  return Row({"Object_Path",
              "TseSessionId",
              "TseSessionWinStationCol",
              "TseSessionStateCol",
              "TseSessionAppCol",
              "TseSessionBuildCol",
              "TseSessionDirCol",
              "TseSessionClientCol",
              "TseSessionDomainCol",
              "TseSessionUserCol",
              "TseSessionProgramCol",
              "TseSessionWorkDirCol",
              "TseSessionHardwareCol",
              "TseSessionProductCol",
              "TseSessionProtocolCol",
              "TseSessionOemIdCol",
              "TseSessionHorzCol",
              "TseSessionVertCol",
              "TseSessionBitsCol",
              "TseSessionAddressTypeCol",
              "TseSessionAddressCol",
              "TseSessionIdleTimeCol",
              "TseSessionLogonTimeCol",
              "TseSessionConnectTimeCol",
              "TseSessionDisconnectTimeCol",
              "TseSessionLastInputTimeCol"});
}

std::string Zeros(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += i == 0 ? "0" : "-0";
  return text;
}

class TerminalServer : public ::testing::Test {
 protected:
  void SetUp() override {
    run_.SetEstate(kEstate);
    run_.SetObjects({{24, "TS01", "\\\\TS01"}});
  }
  void TearDown() override {
    EXPECT_EQ(run_.backend().LeakedHandles(), 0u)
        << ::testing::PrintToString(run_.backend().DescribeLeakedHandles());
  }
  // The calls of one operation, as "host detail".
  std::size_t TerminalCalls() {
    std::size_t count = 0;
    for (const auto& call : run_.backend().call_log().Calls()) {
      count += call.operation.starts_with("WTS") || call.operation.starts_with("WinStation");
    }
    return count;
  }
  EndToEnd run_;
};

TEST_F(TerminalServer, SessionsWithEveryColumn) {
  run_.SetConfiguration("[General]\nEnableLogging=1\n[TseSessions]\nTseExportSessions=1\n");
  run_.Run();
  const std::string zeros = Zeros(20);
  EXPECT_EQ(
      run_.Output("tse_sessions.txt"),
      SessionsTitle() +
          // Nothing given: empty texts, zero numbers, an unspecified address.
          Row({"\\\\TS01", "0", "Services", "Disconnected",
               "",         "0", "",         "",
               "",         "",  "",         "",
               "0",        "0", "CONSOLE",  "",
               "0",        "0", "",         "AF_UNSPEC",
               zeros,      "",  "",         "",
               "",         ""}) +
          // Idle for five minutes since the last input.
          Row({"\\\\TS01",
               "1",
               "Console",
               "Active",
               "",
               "0",
               "",
               "",
               "QUARRY",
               "Administrator",
               "",
               "",
               "0",
               "0",
               "CONSOLE",
               "",
               "1024",
               "768",
               "16",
               "AF_UNSPEC",
               zeros,
               ":05",
               "3/5/2026 8:00:00",
               "3/5/2026 8:00:00",
               "",
               "3/5/2026 14:02:09"}) +
          Row({"\\\\TS01",
               "2",
               "RDP-Tcp#7",
               "Active",
               "Ledger",
               "22621",
               "C:\\Windows\\System32\\mstscax.dll",
               "TAPROOM3",
               "QUARRY",
               "mtanner",
               "C:\\Apps\\ledger.exe",
               "C:\\Apps",
               "-1",
               "1",
               "RDP",
               "QH",
               "1920",
               "1080",
               "24",
               "AF_INET",
               "192.168.1.20",
               "2:07",
               "3/5/2026 11:30:00",
               "3/5/2026 11:30:05",
               "",
               "3/5/2026 12:00:09"}) +
          // Disconnected: idle since the disconnection (10:00), not the last input (10:07).
          Row({"\\\\TS01",
               "3",
               "RDP-Tcp#9",
               "Disconnected",
               "",
               "0",
               "",
               "CELLARPC",
               "QUARRY",
               "jrivers",
               "",
               "",
               "0",
               "0",
               "RDP",
               "",
               "1280",
               "1024",
               "15",
               "AF_INET6",
               "32-1-13-184-0-0-0-0-0-0-0-0-0-0-0-5-0-0-0-0",
               "10:00",
               "3/4/2026 18:00:00",
               "3/4/2026 18:00:02",
               "3/5/2026 4:07:09",
               "3/5/2026 4:00:00"}) +
          // Classes answered without bytes and a failed time query leave their fields empty.
          Row({"\\\\TS01", "4",      "ICA-tcp#1",
               "",         "",       "0",
               "",         "",       "",
               "",         "",       "",
               "0",        "0",      "ICA",
               "",         "800",    "600",
               "",         "AF_IPX", "0-0-0-1-0-96-151-18-52-86-0-0-0-0-0-0-0-0-0-0",
               "",         "",       "",
               "",         ""}) +
          Row({"\\\\TS01", "65536", "RDP-Tcp", "Listening", "", "", "", "", "", "", "", "", "",
               "",         "",      "",        "",          "", "", "", "", "", "", "", "", ""}));
  EXPECT_EQ(run_.Output("Export.log"),
            std::string(kTimeUnit) + "\tTS01\tTS01\t\tTERMINAL_SESSIONS\tSUCCESS\t\r\n");
  EXPECT_EQ(run_.ProgressLines(),
            (std::vector<std::string>{"0|7|TS01|Exporting...",
                                      "1|94|TS01|Exporting Terminal Server Sessions...",
                                      "0|53|Export Completed.|1 Objects Processed."}));
  EXPECT_TRUE(run_.Messages().empty());
}

TEST_F(TerminalServer, ProcessesWithTheirUsers) {
  run_.SetConfiguration("[General]\nEnableLogging=1\n[TseProcesses]\nTseExportProcesses=1\n");
  run_.Run();
  EXPECT_EQ(run_.Output("tse_processes.txt"),
            Row({"Object_Path", "TseProcessSessionId", "TseProcessProcessId", "TseProcessUser",
                 "TseProcessName"}) +
                Row({"\\\\TS01", "0", "0", "Unknown Account", "System Idle Process"}) +
                Row({"\\\\TS01", "0", "4", "SYSTEM", "System"}) +
                Row({"\\\\TS01", "2", "5120", "mtanner", "explorer.exe"}) +
                // Only the idle process gets a name in place of an empty one.
                Row({"\\\\TS01", "2", "5188", "mtanner", ""}) +
                Row({"\\\\TS01", "3", "7001", "Unknown Account", "orphan.exe"}));
  EXPECT_EQ(run_.Output("Export.log"),
            std::string(kTimeUnit) + "\tTS01\tTS01\t\tTERMINAL_PROCESSES\tSUCCESS\t\r\n");
  EXPECT_EQ(run_.ProgressLines(),
            (std::vector<std::string>{"0|7|TS01|Exporting...",
                                      "1|95|TS01|Exporting Terminal Server Sessions...",
                                      "0|53|Export Completed.|1 Objects Processed."}));
  // The SIDs are looked up on the target.
  EXPECT_EQ(run_.Calls("LookupAccountSid").front(), "\\\\TS01 sid=S-1-5-18");
}

TEST_F(TerminalServer, FailuresAreReportedPerTargetAndExport) {
  run_.SetObjects({{24, "REFUSER", "\\\\REFUSER"}, {24, "LOCKED", "\\\\LOCKED"}});
  const std::string config =
      "[TseSessions]\nTseExportSessions=1\n[TseProcesses]\nTseExportProcesses=1\n"
      "[General]\nEnableLogging=1\nVerboseProgress=";
  run_.SetConfiguration(config + "1\n");
  run_.Run();
  const std::string refused_sessions =
      "Unable to enumerate sessions on Terminal Server 'REFUSER'. Access was denied.";
  const std::string refused_processes =
      "Unable to enumerate processes on Terminal Server 'REFUSER'. The remote procedure call "
      "failed.";
  const std::string locked = "Unable to connect to Terminal Server 'LOCKED'. Access was denied.";
  EXPECT_EQ(
      run_.ProgressLines(),
      (std::vector<std::string>{
          "0|7|REFUSER|Exporting...",
          "1|88|REFUSER|Exporting Terminal Server Sessions..." + refused_sessions,
          "1|88|REFUSER|Exporting Terminal Server Sessions..." + refused_processes,
          "0|7|LOCKED|Exporting...", "1|88|LOCKED|Exporting Terminal Server Sessions..." + locked,
          "1|88|LOCKED|Exporting Terminal Server Sessions..." + locked,
          "0|53|Export Completed.|2 Objects Processed."}));
  const std::string log = run_.Output("Export.log");
  EXPECT_EQ(log, std::string(kTimeUnit) + "\tREFUSER\tREFUSER\t\tTERMINAL_SESSIONS\tERROR\t" +
                     refused_sessions + "\r\n" + std::string(kTimeUnit) +
                     "\tREFUSER\tREFUSER\t\tTERMINAL_PROCESSES\tERROR\t" + refused_processes +
                     "\r\n" + std::string(kTimeUnit) +
                     "\tLOCKED\tLOCKED\t\tTERMINAL_SESSIONS\tERROR\t" + locked + "\r\n" +
                     std::string(kTimeUnit) + "\tLOCKED\tLOCKED\t\tTERMINAL_PROCESSES\tERROR\t" +
                     locked + "\r\n");
  EXPECT_EQ(run_.Output("tse_sessions.txt"), SessionsTitle());

  // Without verbose progress each failure gets a row of its own.
  run_.SetConfiguration(config + "0\n");
  run_.Run();
  EXPECT_EQ(
      run_.ProgressLines(),
      (std::vector<std::string>{"0|7|REFUSER|Exporting...", "1|52|REFUSER|" + refused_sessions,
                                "1|52|REFUSER|" + refused_processes, "0|7|LOCKED|Exporting...",
                                "1|52|LOCKED|" + locked, "1|52|LOCKED|" + locked,
                                "0|53|Export Completed.|2 Objects Processed."}));
  // A refused open hands out no handle, so nothing is closed for LOCKED;
  // handles are numbered per session.
  EXPECT_EQ(run_.Calls("WTSCloseServer"),
            (std::vector<std::string>{"\\\\REFUSER handle=8192", "\\\\REFUSER handle=8193"}));
}

TEST_F(TerminalServer, TwoColumnsCostOneUserQueryPerSession) {
  run_.SetConfiguration("[TseSessions]\nTseExportSessions=1\nTseSessionsColumns=0,8\n");
  run_.Run();
  EXPECT_EQ(run_.Output("tse_sessions.txt"), Row({"TseSessionId", "TseSessionUserCol"}) +
                                                 Row({"0", ""}) + Row({"1", "Administrator"}) +
                                                 Row({"2", "mtanner"}) + Row({"3", "jrivers"}) +
                                                 Row({"4", ""}) + Row({"65536", ""}));
  std::vector<std::string> calls;
  for (const auto& call : run_.backend().call_log().Calls()) {
    if (call.operation.starts_with("WTS") || call.operation.starts_with("WinStation")) {
      calls.push_back(call.operation + " " + call.host + " " + call.detail);
    }
  }
  const std::vector<std::string> expected = {
      "WTSOpenServer \\\\TS01 ",
      "WTSEnumerateSessions \\\\TS01 reserved=0 version=1",
      "WTSQuerySessionInformation \\\\TS01 session=0 class=5",
      "WTSQuerySessionInformation \\\\TS01 session=1 class=5",
      "WTSQuerySessionInformation \\\\TS01 session=2 class=5",
      "WTSQuerySessionInformation \\\\TS01 session=3 class=5",
      "WTSQuerySessionInformation \\\\TS01 session=4 class=5",
      "WTSQuerySessionInformation \\\\TS01 session=65536 class=5",
      "WTSCloseServer \\\\TS01 handle=8192",
  };
  EXPECT_EQ(calls, expected);
}

TEST_F(TerminalServer, EachColumnGroupCostsOneQuery) {
  // A symbol column and one column of each group: display, address, times.
  run_.SetConfiguration("[TseSessions]\nTseExportSessions=1\nTseSessionsColumns=0,1002,17,18,24\n");
  run_.Run();
  EXPECT_EQ(run_.Output("tse_sessions.txt"),
            Row({"TseSessionId", "Object_Path", "TseSessionBitsCol", "TseSessionAddressTypeCol",
                 "TseSessionLastInputTimeCol"}) +
                Row({"0", "\\\\TS01", "", "AF_UNSPEC", ""}) +
                Row({"1", "\\\\TS01", "16", "AF_UNSPEC", "3/5/2026 14:02:09"}) +
                Row({"2", "\\\\TS01", "24", "AF_INET", "3/5/2026 12:00:09"}) +
                Row({"3", "\\\\TS01", "15", "AF_INET6", "3/5/2026 4:00:00"}) +
                Row({"4", "\\\\TS01", "", "AF_IPX", ""}) + Row({"65536", "\\\\TS01", "", "", ""}));
  EXPECT_EQ(run_.Calls("WTSQuerySessionInformation"),
            (std::vector<std::string>{"\\\\TS01 session=0 class=15", "\\\\TS01 session=0 class=14",
                                      "\\\\TS01 session=1 class=15", "\\\\TS01 session=1 class=14",
                                      "\\\\TS01 session=2 class=15", "\\\\TS01 session=2 class=14",
                                      "\\\\TS01 session=3 class=15", "\\\\TS01 session=3 class=14",
                                      "\\\\TS01 session=4 class=15", "\\\\TS01 session=4 class=14",
                                      "\\\\TS01 session=65536 class=15",
                                      "\\\\TS01 session=65536 class=14"}));
  EXPECT_EQ(run_.Calls("WinStationQueryInformation").size(), 6u);
  EXPECT_EQ(run_.Calls("WinStationQueryInformation").front(),
            "\\\\TS01 session=0 class=8 size=1216");
}

TEST_F(TerminalServer, WithoutTheWindowStationLibraryTheTimesStayEmpty) {
  std::string estate(kEstate);
  estate.insert(1, R"("libraries": {"window_station": false},)");
  run_.SetEstate(estate);
  run_.SetConfiguration(
      "[TseSessions]\nTseExportSessions=1\nTseSessionsColumns=0,8,20,21,22,23,24\n");
  run_.Run();
  EXPECT_EQ(
      run_.Output("tse_sessions.txt"),
      Row({"TseSessionId", "TseSessionUserCol", "TseSessionIdleTimeCol", "TseSessionLogonTimeCol",
           "TseSessionConnectTimeCol", "TseSessionDisconnectTimeCol",
           "TseSessionLastInputTimeCol"}) +
          Row({"0", "", "", "", "", "", ""}) + Row({"1", "Administrator", "", "", "", "", ""}) +
          Row({"2", "mtanner", "", "", "", "", ""}) + Row({"3", "jrivers", "", "", "", "", ""}) +
          Row({"4", "", "", "", "", "", ""}) + Row({"65536", "", "", "", "", "", ""}));
  EXPECT_TRUE(run_.Calls("WinStationQueryInformation").empty());
  EXPECT_TRUE(run_.Messages().empty()) << "only the terminal-services library is asked about";
}

TEST_F(TerminalServer, WithoutTheTerminalServicesLibraryTheUserDecides) {
  std::string estate(kEstate);
  estate.insert(1, R"("libraries": {"terminal_services": false},)");
  run_.SetEstate(estate);
  run_.SetConfiguration(
      "[General]\nEnableLogging=1\n[TseSessions]\nTseExportSessions=1\n"
      "[TseProcesses]\nTseExportProcesses=1\n");
  const std::string question(MessageText(kMsgTseLibrariesMissing));

  // "No": the export goes on and fails as an open function that cannot be
  // found would make it fail.
  run_.Run();
  const std::string failure =
      "Unable to connect to Terminal Server 'TS01'. The requested procedure could not be found.";
  EXPECT_EQ(run_.Messages(), (std::vector<std::string>{question, question}));
  EXPECT_EQ(run_.ProgressLines(),
            (std::vector<std::string>{"0|7|TS01|Exporting...",
                                      "1|88|TS01|Exporting Terminal Server Sessions..." + failure,
                                      "1|88|TS01|Exporting Terminal Server Sessions..." + failure,
                                      "0|53|Export Completed.|1 Objects Processed."}));
  EXPECT_EQ(run_.Output("Export.log"),
            std::string(kTimeUnit) + "\tTS01\tTS01\t\tTERMINAL_SESSIONS\tERROR\t" + failure +
                "\r\n" + std::string(kTimeUnit) + "\tTS01\tTS01\t\tTERMINAL_PROCESSES\tERROR\t" +
                failure + "\r\n");
  EXPECT_EQ(TerminalCalls(), 0u);

  // "Yes": the export of this target ends without rows, rows or log lines.
  run_.observer().user_answer = true;
  run_.SetConfiguration(
      "[General]\nEnableLogging=1\nAppendLog=0\n[TseSessions]\nTseExportSessions=1\n"
      "[TseProcesses]\nTseExportProcesses=1\n");
  run_.Run();
  EXPECT_EQ(run_.Messages(), (std::vector<std::string>{question, question}));
  EXPECT_EQ(run_.ProgressLines(),
            (std::vector<std::string>{"0|7|TS01|Exporting...",
                                      "0|53|Export Completed.|1 Objects Processed."}));
  EXPECT_EQ(run_.Output("Export.log"), "");
  EXPECT_EQ(TerminalCalls(), 0u);
}

TEST_F(TerminalServer, UnattendedRunsLogTheQuestion) {
  std::string estate(kEstate);
  estate.insert(1, R"("libraries": {"terminal_services": false},)");
  run_.SetEstate(estate);
  run_.SetConfiguration("[General]\nEnableLogging=1\n[TseSessions]\nTseExportSessions=1\n");
  run_.request().suppress_messages = true;
  run_.Run(false);
  EXPECT_TRUE(run_.Messages().empty());
  EXPECT_EQ(run_.Output("Export.log"),
            std::string(kTimeUnit) + "\tMSG\tERROR\t" +
                std::string(MessageText(kMsgTseLibrariesMissing)) + "\r\n" +
                std::string(kTimeUnit) +
                "\tTS01\tTS01\t\tTERMINAL_SESSIONS\tERROR\tUnable to connect to Terminal Server "
                "'TS01'. The requested procedure could not be found.\r\n");
}

}  // namespace
}  // namespace tabulon::testing
