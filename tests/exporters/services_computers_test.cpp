// Computers and services exported end to end from small estates.
#include <gtest/gtest.h>

#include "support/e2e.h"

namespace tabulon::testing {
namespace {

constexpr std::string_view kEstate = R"({
  "computers": [
    {"name": "FS01", "server": {"type": ["WORKSTATION", "SERVER", "NT", "MFPN"],
                                "version_major": 10, "version_minor": 0, "comment": "Files"},
     "services": [
       {"name": "Spooler", "display_name": "Print Spooler", "type": "WIN32_OWN_PROCESS",
        "state": "RUNNING", "start_type": "AUTO", "account": "LocalSystem",
        "binary_path": "C:\\Windows\\System32\\spoolsv.exe", "dependencies": ["RPCSS", "http"]},
       {"name": "Tcpip", "display_name": "TCP/IP Protocol Driver", "type": "KERNEL_DRIVER",
        "state": "RUNNING", "start_type": "BOOT", "account": ""},
       {"name": "PRLNTSS", "display_name": "Print agent", "type": "WIN32_OWN_PROCESS",
        "state": "STOPPED", "start_type": "DEMAND"},
       {"name": "Locked", "display_name": "Locked service", "type": "WIN32_SHARE_PROCESS",
        "state": "STOPPED", "start_type": "DISABLED",
        "failures": {"OpenService": "ERROR_ACCESS_DENIED"}},
       {"name": "Secret", "display_name": "Secret service", "type": "WIN32_SHARE_PROCESS",
        "state": "PAUSED", "start_type": "DEMAND",
        "failures": {"QueryServiceConfig": "ERROR_ACCESS_DENIED"}}
     ]},
    {"name": "EMPTY", "server": {"type": ["WORKSTATION"], "version_major": 6, "version_minor": 1},
     "services": []},
    {"name": "DENIED", "server": {"type": ["WORKSTATION"]},
     "failures": {"OpenSCManager": "ERROR_ACCESS_DENIED"}},
    {"name": "ODD", "server": {"type": ["WORKSTATION"], "version_major": 4294967295,
                               "version_minor": 2147483648}}
  ]
})";

class ServicesComputers : public ::testing::Test {
 protected:
  void SetUp() override {
    run_.SetEstate(kEstate);
    run_.SetObjects(
        {{24, "FS01", "\\\\FS01"}, {24, "EMPTY", "\\\\EMPTY"}, {24, "DENIED", "\\\\DENIED"}});
  }
  EndToEnd run_;
};

TEST_F(ServicesComputers, ServicesRowsAndFailures) {
  run_.SetConfiguration("[General]\nEnableLogging=1\n[Services]\nExportServices=1\n");
  const RunResult result = run_.Run();
  EXPECT_FALSE(result.stopped_early);
  EXPECT_EQ(result.targets_processed, 3u);
  EXPECT_EQ(run_.Output("services.txt"),
            "Object_Path\tServiceName\tServiceDesc\tServiceState\tServiceType\tServiceStartup\t"
            "ServiceAccount\tServiceDepends\tServiceBinary\r\n"
            "\\\\FS01\tSpooler\tPrint Spooler\tRunning\tService (Own Process)\tAutomatic\t"
            "LocalSystem\tRPCSS^http\tC:\\Windows\\System32\\spoolsv.exe\r\n"
            "\\\\FS01\tTcpip\tTCP/IP Protocol Driver\tRunning\tDriver (Device)\tBoot\t\t\t\r\n"
            "\\\\FS01\tPRLNTSS\tPrint agent\tStopped\tService (Own Process)\tUnknown\tUnknown\t"
            "Unknown\tUnknown\r\n"
            "\\\\FS01\tSecret\tSecret service\tPaused\tService (Shared Process)\tERROR\tERROR\t"
            "ERROR\tERROR\r\n");
  EXPECT_EQ(run_.Output("Export.log"),
            "3/5/2026 14:07:09\tFS01\tFS01\t\tSERVICES\tSUCCESS\t\r\n"
            "3/5/2026 14:07:09\tEMPTY\tEMPTY\t\tSERVICES\tSUCCESS\t\r\n"
            "3/5/2026 14:07:09\tDENIED\tDENIED\t\tSERVICES\tERROR\tUnable to open service "
            "manager system. Access was denied.\r\n");
  const std::vector<std::string> expected_progress = {
      "0|7|FS01|Exporting...",
      "1|22|FS01|Exporting Services...",
      "1|52|FS01|Unable to access service Locked. Access was denied.",
      "1|52|FS01|Unable to query service Secret. Access was denied.",
      "0|7|EMPTY|Exporting...",
      "1|22|EMPTY|Exporting Services...",
      "0|7|DENIED|Exporting...",
      "1|88|DENIED|Exporting Services...Unable to open service manager system. Access was "
      "denied.",
      "0|53|Export Completed.|3 Objects Processed.",
  };
  EXPECT_EQ(run_.ProgressLines(), expected_progress);
  EXPECT_EQ(run_.backend().LeakedHandles(), 0u);
  // "PRLNTSS" is never opened.
  for (const auto& call : run_.backend().call_log().Calls()) {
    EXPECT_FALSE(call.operation == "OpenService" &&
                 call.detail.find("PRLNTSS") != std::string::npos)
        << call.detail;
  }
}

TEST_F(ServicesComputers, FiltersAndNameList) {
  run_.dir().Write("names.txt", "spool*\r\n*cpip\r\n");
  run_.SetConfiguration(
      "[Services]\nExportServices=1\nServiceType=0\nServiceState=2\n"
      "ServiceColumns=0\n");
  run_.Run();
  EXPECT_EQ(run_.Output("services.txt"), "ServiceName\r\nTcpip\r\n");

  run_.SetConfiguration(
      "[General]\nVerboseProgress=0\n[Services]\nExportServices=1\n"
      "ServiceColumns=0\nExportSpecificServices=1\nSpecificFileName=" +
      run_.dir().File("names.txt") + "\n");
  run_.Run();
  EXPECT_EQ(run_.Output("services.txt"), "ServiceName\r\nSpooler\r\nTcpip\r\n");
}

TEST_F(ServicesComputers, ComputersRows) {
  run_.SetObjects({{24, "FS01", "\\\\FS01"},
                   {24, "EMPTY", "\\\\EMPTY"},
                   {24, "DENIED", "\\\\DENIED"},
                   {24, "ODD", "\\\\ODD"}});
  run_.SetConfiguration("[Computers]\nExportComputers=1\nComputerColumns=1002,0,1,2,3,16,17,4\n");
  run_.Run();
  EXPECT_EQ(run_.Output("computers.txt"),
            "Object_Path\tComputerName\tComputerComment\tComputerMajorVersion\t"
            "ComputerMinorVersion\tMFPN\tNT\tWorkstation\r\n"
            "\\\\FS01\tFS01\tFiles\t10\t0\tYES\tYES\tYES\r\n"
            "\\\\EMPTY\tEMPTY\t\t6\t1\tNO\tNO\tYES\r\n"
            "\\\\DENIED\tDENIED\t\t10\t0\tNO\tNO\tYES\r\n"
            "\\\\ODD\tODD\t\t-1\t-2147483648\tNO\tNO\tYES\r\n");  // signed, as "%d"
}

TEST_F(ServicesComputers, NoExportEnabledStillProcessesTheTarget) {
  run_.SetObjects({{24, "FS01", "\\\\FS01"}});
  run_.SetConfiguration("");
  const RunResult result = run_.Run();
  EXPECT_EQ(result.targets_processed, 1u);
  EXPECT_EQ(run_.ProgressLines(),
            (std::vector<std::string>{"0|7|FS01|Exporting...",
                                      "0|53|Export Completed.|1 Objects Processed."}));
}

}  // namespace
}  // namespace tabulon::testing
