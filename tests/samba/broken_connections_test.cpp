// Whole runs against the test smbd behind a proxy that breaks the
// connections: each export that meets a broken connection or a server gone
// reports the network status a Windows client would, never a local one such
// as running out of memory.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "samba/remote_run.h"
#include "samba/tcp_proxy.h"
#include "support/samba_server.h"
#include "support/server_required.h"

namespace tabulon::testing {
namespace {

constexpr const char* kProxy = "127.0.0.5";

// What a failure row may end with: the texts of the network statuses.
const char* const kNetworkTexts[] = {
    "The remote procedure call failed.",                   // RPC_S_CALL_FAILED
    "The RPC server is not available.",                    // RPC_S_SERVER_UNAVAILABLE
    "The network path could not be found.",                // ERROR_BAD_NETPATH
    "The specified network name is no longer available.",  // ERROR_NETNAME_DELETED
    "An unexpected network error occurred.",               // ERROR_UNEXP_NET_ERR
    // A handle opened on the broken connection, used on the next one.
    "The handle is not valid.",
    // The account policy's failure carries no status text.
    "Unable to retrieve account policy information on '\\\\127.0.0.5'.",
};

class BrokenConnections : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const std::string& why_not = IsolateNetwork(); !why_not.empty()) {
      SKIP_WITHOUT_SERVER(why_not);
    }
    std::string why_not;
    server_ = SambaServer::Start(why_not);
    if (!server_) SKIP_WITHOUT_SERVER(why_not);
    ASSERT_EQ(server_->MakeTestUserAdministrator(), "");
    for (int i = 0; i < 200; ++i) {
      WriteFile(server_->folder() + "/data/file" + std::to_string(i) + ".txt",
                std::string(static_cast<std::size_t>(i) * 50, 'x'));
    }
  }

  // A run of exports over every kind of connection: pipes of several
  // interfaces and files.
  void Run(ScratchDir& dir, RecordedMessages& messages) {
    dir.Write("files.cfg", "[Scan]\nOutputFileName=files.txt\nOutputColumns=0,1\nPaths=data\n");
    RunAgainstRealServers(
        dir, messages,
        std::string("1\t0\t24\t1\treserved\treserved\tSMB\t\t\\\\") + kProxy + "\r\n",
        "EnableLogging=1\nFileCfgFile=" + dir.File("files.cfg") +
            "\n[Computers]\nPingEnable=0\nExportComputers=1\nComputerColumns=0,1\n"
            "[Templates]\nFileTemplates=Scan;\n[Services]\nExportServices=1\nServiceColumns=0\n"
            "[Shares]\nExportShares=1\nSharesColumns=0\n[Sessions]\nExportSessions=1\n"
            "SessionsColumns=0\n[Drives]\nExportDrives=1\nDrivesMask=data\n"
            "[Security]\nExportRights=1\nRightsColumns=0,2\n[Policy]\nExportPolicies=1\n"
            "[Groups]\nExportGroups=1\n",
        *TestUserLogin().credentials);
  }

  // Every failure row ends with a network status's text; at least one does.
  // A file walk's count of folders not listed completely follows the rows of
  // those folders, which carry the status.
  static void ExpectNetworkFailures(const RecordedMessages& messages) {
    EXPECT_NE(messages.rows, "");
    const std::regex folders_count(".*: Folders not listed completely: [0-9]+\\.");
    std::istringstream rows(messages.rows);
    for (std::string row; std::getline(rows, row);) {
      while (row.ends_with(' ')) row.pop_back();
      bool network = std::regex_match(row, folders_count);
      for (const char* text : kNetworkTexts) network = network || row.ends_with(text);
      EXPECT_TRUE(network) << row;
    }
    EXPECT_EQ(messages.rows.find("memory"), std::string::npos) << messages.rows;
    EXPECT_EQ(messages.shown.find("memory"), std::string::npos) << messages.shown;
  }

  std::unique_ptr<SambaServer> server_;
};

TEST_F(BrokenConnections, ServerGoneMidRun) {
  TcpProxy proxy(kProxy, 445, "127.0.0.1", 445);
  ASSERT_TRUE(proxy.ok());
  // Past the logon and the first exports, nothing answers any more.
  proxy.StopAfter(20000);
  ScratchDir dir;
  RecordedMessages messages;
  Run(dir, messages);
  ExpectNetworkFailures(messages);
  EXPECT_NE(messages.rows.find("The network path could not be found."), std::string::npos)
      << messages.rows;
}

TEST_F(BrokenConnections, EveryConnectionResetAfterAWhile) {
  TcpProxy proxy(kProxy, 445, "127.0.0.1", 445);
  ASSERT_TRUE(proxy.ok());
  proxy.ResetAfter(5000);
  ScratchDir dir;
  RecordedMessages messages;
  Run(dir, messages);
  ExpectNetworkFailures(messages);
}

}  // namespace
}  // namespace tabulon::testing
