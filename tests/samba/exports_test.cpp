// Exports end to end against a real smbd: configuration in, files out, with
// the program's remote backend and Samba transport.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "samba/print_server.h"
#include "samba/remote_run.h"
#include "support/samba_server.h"
#include "support/server_required.h"

namespace tabulon::testing {
namespace {

class RemoteExports : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const std::string& why_not = IsolateNetwork(); !why_not.empty())
      SKIP_WITHOUT_SERVER(why_not);
    std::string why_not;
    server_ = SambaServer::Start(why_not);
    if (!server_) SKIP_WITHOUT_SERVER(why_not);
  }

  // Runs `ini` against the test server (the ini turns pinging off).
  RunResult Run(const std::string& ini) { return RunAgainstTestServer(dir_, ini, messages_); }

  ScratchDir dir_;
  RecordedMessages messages_;
  std::unique_ptr<SambaServer> server_;
};

TEST_F(RemoteExports, SharesAndComputerOfARealServer) {
  const RunResult result =
      Run("[Computers]\nPingEnable=0\nExportComputers=1\nComputerColumns=0,1,4\n"
          "[Shares]\nExportShares=1\nSharesColumns=0,1,2\n");
  ASSERT_FALSE(result.stopped_early) << messages_.shown;
  EXPECT_EQ(dir_.Read("computers.txt"),
            "ComputerName\tComputerComment\tWorkstation\r\n"
            "TABULONTEST\tTabulon test server\tYES\r\n");
  // NetShareEnum at level 502 through our own encoding; the IPC share's type
  // (0x80000003) has no name in the export.
  EXPECT_EQ(dir_.Read("shares.txt"),
            "ShareName\tShareType\tShareComment\r\n"
            "data\tDISK\tTest data\r\n"
            "drop\tDISK\t\r\n"
            "IPC$\t\tIPC Service (Tabulon test server)\r\n");
}

TEST_F(RemoteExports, ServicesOfARealServer) {
  const RunResult result =
      Run("[Computers]\nPingEnable=0\n[Services]\nExportServices=1\nServiceColumns=0,2,3,4\n");
  ASSERT_FALSE(result.stopped_early) << messages_.shown;
  // The service list with its MORE_DATA sizing, and each service's
  // configuration with its INSUFFICIENT_BUFFER sizing, as a standalone
  // server answers them.
  EXPECT_EQ(dir_.Read("services.txt"),
            "ServiceName\tServiceState\tServiceType\tServiceStartup\r\n"
            "Spooler\tRunning\tService (Own Process)\tManual\r\n"
            "NETLOGON\tStopped\tService (Shared Process)\tDisabled\r\n"
            "RemoteRegistry\tRunning\tService (Shared Process)\tManual\r\n"
            "WINS\tStopped\tService (Own Process)\tDisabled\r\n");
}

// A standalone server lists its sessions to administrators only: the export
// asks at level 502, falls back to level 1 as it must for these servers, and
// reports the refusal of both as one failure of the target.
TEST_F(RemoteExports, SessionsOfAServerThatRefusesThem) {
  const RunResult result =
      Run("[Computers]\nPingEnable=0\n[Sessions]\nExportSessions=1\nSessionsColumns=1,2\n");
  ASSERT_FALSE(result.stopped_early) << messages_.shown;
  EXPECT_EQ(dir_.Read("sessions.txt"), "SessionUserName\tSessionTransport\r\n");
  EXPECT_EQ(messages_.rows,
            "SMB: Error getting sessions on '\\\\127.0.0.1'. Error = 5. Access was denied.\n");
}

// A standalone server opens its audit settings to administrators only: the
// policies export reports the refusal of the policy's opening with the
// status's own text (an NTSTATUS, which has no Windows message) and writes
// no row.
TEST_F(RemoteExports, PoliciesOfAUserWhoMayNotOpenThePolicy) {
  const RunResult result =
      Run("[Computers]\nPingEnable=0\n[Policy]\nExportPolicies=1\nPoliciesColumns=0,8\n");
  ASSERT_FALSE(result.stopped_early) << messages_.shown;
  EXPECT_EQ(messages_.rows,
            "SMB: Unable to open policy on computer '\\\\127.0.0.1'. Access to the object was "
            "requested but not granted.\n");
  const std::string policies = dir_.Read("policy.txt");
  EXPECT_EQ(std::count(policies.begin(), policies.end(), '\n'), 1) << policies;
}

// The workstation service of a standalone smbd does not implement the
// transport enumeration: it faults with nca_s_op_rng_error, which a Windows
// client reports as "procedure number out of range". No row, one failure.
TEST_F(RemoteExports, ProtocolsOfAServerThatDoesNotListItsTransports) {
  const RunResult result =
      Run("[Computers]\nPingEnable=0\n[Network]\nExportProtocols=1\n"
          "NetworkProtocolColumns=0,1,2,3,4\n");
  ASSERT_FALSE(result.stopped_early) << messages_.shown;
  EXPECT_EQ(dir_.Read("protocols.txt"),
            "ProtocolName\tProtocolAddress\tProtocolVCs\tProtocolWAN\tProtocolQOS\r\n");
  EXPECT_EQ(messages_.rows, "SMB: The procedure number is out of range.\n");
}

class RemotePrinterExports : public RemoteExports {
 protected:
  void SetUp() override {
    if (const std::string& why_not = IsolateNetwork(); !why_not.empty())
      SKIP_WITHOUT_SERVER(why_not);
    std::string why_not;
    server_ = SambaServer::Start(why_not, PrintServerSetup(printers_.path()));
    if (!server_) SKIP_WITHOUT_SERVER(why_not);
    listed_ = RpcclientPrinterNames(*server_, 2);
  }

  ScratchDir printers_;
  std::vector<std::string> listed_;
};

// Every column of both printers, as EnumPrinters at level 2 lists them
// through our own decoding of the record buffer.
TEST_F(RemotePrinterExports, PrintersOfARealServer) {
  ASSERT_EQ(listed_, (std::vector<std::string>{"\\\\127.0.0.1\\laser", "\\\\127.0.0.1\\inkjet"}));
  const RunResult result =
      Run("[Computers]\nPingEnable=0\n[Printers]\nExportPrinters=1\n"
          "PrintersColumns=0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16\n");
  ASSERT_FALSE(result.stopped_early) << messages_.shown;
  EXPECT_EQ(messages_.rows, "");
  // Attributes 0x1048 (shared, local, raw only), priority and default
  // priority 1, ready: as rpcclient's getprinter shows them.
  EXPECT_EQ(dir_.Read("printers.txt"),
            "PrinterServer\tPrinterName\tShareName\tPortName\tDriverName\tComment\tLocation\t"
            "SeparatorFile\tProcessor\tDataType\tParameters\tAttributes\tPriority\tJobPriority\t"
            "Status\tJobs\tAveragePPM\r\n"
            "\\\\127.0.0.1\t\\\\127.0.0.1\\laser\tlaser\tSamba Printer Port\t\tLaser printer\t\t\t"
            "winprint\tRAW\t\tSHARED^LOCAL^RAW_ONLY\t1\t1\t\t0\t0\r\n"
            "\\\\127.0.0.1\t\\\\127.0.0.1\\inkjet\tinkjet\tSamba Printer Port\t\t\t\t\t"
            "winprint\tRAW\t\tSHARED^LOCAL^RAW_ONLY\t1\t1\t\t0\t0\r\n");
}

// The network settings of a server whose registry holds one network card,
// written into it with Samba's own registry tool and read back over winreg
// (hive, keys, texts and DWORDs) by the export. Samba serves the TCP/IP
// parameters from its own settings (only the host name, for the adapter keys
// too, as its own client shows), so the card has no addresses.
TEST_F(RemoteExports, NetworkSettingsFromARealRegistry) {
  ASSERT_EQ(server_->MakeTestUserAdministrator(), "");
  const std::string netbt = "HKLM\\SYSTEM\\CurrentControlSet\\Services\\NetBT\\Parameters";
  const std::string card = "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\7";
  for (const std::string& command : {
           "createkey '" + netbt + "'",
           "setvalue '" + netbt + "' EnableLMHOSTS dword 1",
           "setvalue '" + netbt + "' ScopeId sz corp",
           "createkey '" + card + "'",
           "setvalue '" + card + "' Description sz 'Virtual Ethernet'",
           "setvalue '" + card + "' ServiceName sz '{7A1C}'",
       }) {
    std::string output;
    ASSERT_EQ(RunCommand("net registry " + command + " -s " + server_->configuration(), output), 0)
        << command << ": " << output;
  }
  const RunResult result =
      Run("[Computers]\nPingEnable=0\n[Network]\nExportNetwork=1\nNetworkColumns=1,2,3,8,14\n");
  ASSERT_FALSE(result.stopped_early) << messages_.shown;
  EXPECT_EQ(messages_.rows, "");
  EXPECT_EQ(dir_.Read("networks.txt"),
            "EnableLmhosts\tScopeId\tHostName\tNicName\tIP\r\n"
            "YES\tcorp\ttabulontest\tVirtual Ethernet\t\r\n");
}

}  // namespace
}  // namespace tabulon::testing
