// The remote backend against a real Active Directory domain controller:
// password and Kerberos logons, and the domain paths of a run.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <regex>
#include <set>

#include "platform/ldap/ldap_directory.h"
#include "platform/remote/remote_backend.h"
#include "platform/samba/samba_transport.h"
#include "platform/samba/ticket_cache.h"
#include "samba/remote_run.h"
#include "support/samba_dc.h"
#include "support/samba_server.h"
#include "support/scoped_env.h"
#include "support/server_required.h"

namespace tabulon::testing {
namespace {

class DomainController : public ::testing::Test {
 protected:
  // One controller for the test program: it takes seconds to start.
  static SambaDomainController* Dc() {
    if (!dc_ && why_not_.empty()) dc_ = SambaDomainController::Start(why_not_);
    return dc_.get();
  }
  static void TearDownTestSuite() { dc_.reset(); }

  void SetUp() override {
    if (Dc() == nullptr) SKIP_WITHOUT_SERVER(why_not_);
  }

  static platform::SessionOptions Admin() {
    static const platform::Credentials admin{kDcAdmin, platform::Secret(kDcAdminPassword),
                                             kDcDomain};
    platform::SessionOptions options;
    options.credentials = &admin;
    options.call_timeout_ms = 30000;
    return options;
  }

  static std::unique_ptr<platform::TargetSession> Open(const std::string& target,
                                                       const platform::SessionOptions& options) {
    static platform::remote::RemoteBackend backend(SambaTransports, nullptr);
    return backend.Open(target, options);
  }

  static std::unique_ptr<SambaDomainController> dc_;
  static std::string why_not_;
};
std::unique_ptr<SambaDomainController> DomainController::dc_;
std::string DomainController::why_not_;

TEST_F(DomainController, AnswersByItsDnsNameWithAPasswordLogon) {
  const std::string target = std::string("\\\\") + kDcHost;
  auto session = Open(target, Admin());
  const platform::ServerInfoResult info = session->server().NetServerGetInfo101(target);
  ASSERT_EQ(info.status, win::ERROR_SUCCESS);
  EXPECT_EQ(info.info.name, kDcName);
  // What Samba's own client reads from the same server.
  std::string output;
  ASSERT_EQ(
      RunCommand("rpcclient -s " + Dc()->configuration() + " -U '" + kDcDomain + "\\" + kDcAdmin +
                     "%" + kDcAdminPassword + "' --use-kerberos=off -c srvinfo 127.0.0.1",
                 output),
      0)
      << output;
  char type[16];
  std::snprintf(type, sizeof type, "0x%x", info.info.type);
  EXPECT_NE(output.find(std::string("server type     :\t") + type), std::string::npos)
      << output << " ours: " << type;
}

// Kerberos with the caller's ticket cache: the ticket of a private cache
// for the realm's administrator.
class DomainControllerKerberos : public DomainController {
 protected:
  void SetUp() override {
    DomainController::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    // Outside the controller's folder, so that both outlive the controller.
    std::filesystem::copy_file(Dc()->kerberos_configuration(), kerberos_.File("krb5.conf"));
    cache_.emplace("KRB5CCNAME", ("FILE:" + kerberos_.File("ccache")).c_str());
    config_.emplace("KRB5_CONFIG", kerberos_.File("krb5.conf").c_str());
    std::string output;
    if (RunCommand(std::string("echo '") + kDcAdminPassword + "' | kinit " + kDcAdmin + "@" +
                       kDcKerberosRealm,
                   output) != 0) {
      SKIP_WITHOUT_SERVER("kinit failed (is krb5-user installed?): " + output);
    }
  }
  static platform::SessionOptions Tickets() {
    static const platform::Credentials tickets{"", platform::Secret(), "", true};
    platform::SessionOptions options;
    options.credentials = &tickets;
    options.call_timeout_ms = 30000;
    return options;
  }
  static win::Status ServerInfoStatus(const std::string& target) {
    return Open(target, Tickets())->server().NetServerGetInfo101(target).status;
  }

  ScratchDir kerberos_;
  std::optional<ScopedEnv> cache_;
  std::optional<ScopedEnv> config_;
};

TEST_F(DomainControllerKerberos, LogonWithTheCallersTicketCache) {
  EXPECT_EQ(platform::samba::FindTicketCache(std::chrono::seconds(5)),
            std::string(kDcAdmin) + "@" + kDcKerberosRealm);
  const std::string target = std::string("\\\\") + kDcHost;
  platform::ServerInfoResult info;
  win::Status second_pipe = win::ERROR_SUCCESS;
  {
    auto session = Open(target, Tickets());
    info = session->server().NetServerGetInfo101(target);
    // A second pipe, bound with the ticket on the first one's connection:
    // the controller's own answer, not a refused bind.
    second_pipe = session->workstation()
                      .NetWkstaTransportEnum0(target, platform::kMaxPreferredLength, 0)
                      .status;
  }
  ASSERT_EQ(info.status, win::ERROR_SUCCESS);
  EXPECT_EQ(info.info.name, kDcName);
  EXPECT_EQ(second_pipe, win::ERROR_NOT_SUPPORTED);
  // A name the realm has no principal for: no authority can vouch for the
  // caller there, as a Windows client would find.
  EXPECT_EQ(ServerInfoStatus("\\\\127.0.0.1"), win::ERROR_NO_LOGON_SERVERS);
}

// Without a ticket, or with one about to expire (which the library would
// renew, and cannot without a password), the logon fails over the pipes and
// the file client alike rather than falling back to anything; a run without
// credentials then finds no ticket cache to use.
TEST_F(DomainControllerKerberos, NoTicketIsNoLogonSession) {
  const std::string expiring = "FILE:" + kerberos_.File("expiring");
  std::string output;
  ASSERT_EQ(RunCommand("echo '" + std::string(kDcAdminPassword) + "' | KRB5CCNAME=" + expiring +
                           " kinit -l 2m " + kDcAdmin + "@" + kDcKerberosRealm,
                       output),
            0)
      << output;
  const std::string target = std::string("\\\\") + kDcHost;
  for (const std::string& cache : {"FILE:" + kerberos_.File("missing"), expiring}) {
    const ScopedEnv without("KRB5CCNAME", cache.c_str());
    EXPECT_EQ(platform::samba::FindTicketCache(std::chrono::seconds(5)), "") << cache;
    EXPECT_EQ(ServerInfoStatus(target), win::ERROR_NO_SUCH_LOGON_SESSION) << cache;
    platform::samba::SambaTransport transport(Tickets());
    EXPECT_EQ(transport.DiskSpace(target, "sysvol", "").status, win::ERROR_NO_SUCH_LOGON_SESSION)
        << cache;
  }
}

// A standalone server has no realm and offers no Kerberos: a caller with a
// valid ticket from another realm gets the same answer as for a name the
// realm does not know.
TEST_F(DomainControllerKerberos, ServerWithoutKerberosIsNoLogonServer) {
  dc_.reset();  // the standalone server takes its address; the ticket stays
  std::string why_not;
  const std::unique_ptr<SambaServer> server = SambaServer::Start(why_not);
  if (!server) SKIP_WITHOUT_SERVER(why_not);
  EXPECT_EQ(ServerInfoStatus("\\\\127.0.0.1"), win::ERROR_NO_LOGON_SERVERS);
  EXPECT_EQ(ServerInfoStatus("\\\\tabulontest"), win::ERROR_NO_LOGON_SERVERS);
}

// A directory domain's controller is found as a Windows client finds it,
// through DNS and an LDAP ping that needs no logon: with a Kerberos ticket
// good for the directory, the lookup succeeds although an SMB logon to the
// host the domain's name resolves to fails (no service principal for it).
TEST_F(DomainController, ADirectoryDomainsControllerIsFoundWithoutALogon) {
  ::setenv("KRB5_CONFIG", Dc()->kerberos_configuration().c_str(), 1);
  ::setenv("KRB5CCNAME", ("FILE:" + Dc()->folder() + "/ccache").c_str(), 1);
  std::string output;
  if (RunCommand(std::string("echo '") + kDcAdminPassword + "' | kinit " + kDcAdmin + "@" +
                     kDcKerberosRealm,
                 output) != 0) {
    SKIP_WITHOUT_SERVER("kinit failed (is krb5-user installed?): " + output);
  }
  platform::Credentials tickets;
  tickets.use_kerberos = true;
  platform::SessionOptions options;
  options.credentials = &tickets;
  options.call_timeout_ms = 30000;
  constexpr std::uint32_t kFlatNameOfPdc = platform::kDsReturnFlatName | platform::kDsPdcRequired;
  platform::remote::RemoteBackend with_directory(SambaTransports, nullptr,
                                                 &platform::ldap::MakeLdapDirectorySearch);
  // The domain's name as a directory path gives it, in upper case.
  const platform::DcInfoResult found = with_directory.Open(kDcKerberosRealm, options)
                                           ->directory()
                                           .DsGetDcName(kDcKerberosRealm, kFlatNameOfPdc);
  const win::Status over_smb = Open(kDcKerberosRealm, options)
                                   ->directory()
                                   .DsGetDcName(kDcKerberosRealm, kFlatNameOfPdc)
                                   .status;
  ::unsetenv("KRB5_CONFIG");
  ::unsetenv("KRB5CCNAME");
  ASSERT_EQ(found.status, win::ERROR_SUCCESS);
  EXPECT_EQ(found.info.domain_name, kDcDomain);
  EXPECT_EQ(found.info.dc_name, std::string("\\\\") + kDcName);
  EXPECT_EQ(found.info.dns_forest_name, kDcRealm);
  EXPECT_NE(over_smb, win::ERROR_SUCCESS) << over_smb;
}

// The machine accounts of the domain, paged through the SAM of its
// controller, are those Samba's own client lists, with the same account
// control bits. (This controller gives every account the "normal account"
// bit in its display information, whatever the account is, where a Windows
// controller gives workstation and server trust accounts their own bits.)
TEST_F(DomainController, MachineAccountsAreThoseSambasOwnClientLists) {
  auto session = Open(kDcDomain, Admin());
  const platform::DcNameResult dc = session->accounts().NetGetDCName("", kDcDomain);
  ASSERT_EQ(dc.status, win::ERROR_SUCCESS);
  EXPECT_EQ(dc.dc_name, std::string("\\\\") + kDcName);
  std::set<std::string> ours;
  std::uint32_t index = 0;
  for (int page = 0; page < 10; ++page) {
    const platform::DisplayMachinesResult result =
        session->accounts().NetQueryDisplayMachines(dc.dc_name, index, 2, 128000);
    ASSERT_TRUE(result.status == win::ERROR_SUCCESS || result.status == win::ERROR_MORE_DATA)
        << result.status;
    if (result.entries.empty()) break;
    for (const platform::DisplayMachine& account : result.entries) {
      char flags[16];
      std::snprintf(flags, sizeof flags, "%#x", account.flags);
      ours.insert(account.name + " " + flags);
    }
    index = result.entries.back().next_index;
  }
  std::string output;
  ASSERT_EQ(RunCommand("rpcclient -s " + Dc()->configuration() + " -U '" + kDcDomain + "\\" +
                           kDcAdmin + "%" + kDcAdminPassword +
                           "' --use-kerberos=off -c 'querydispinfo2 2' 127.0.0.1",
                       output),
            0)
      << output;
  // "index: 0x1 RID: 0x450 acb: 0x00000010 Account: WS01$\tDesc: "
  std::set<std::string> theirs;
  const std::regex line(R"(acb: 0x([0-9a-f]+) Account: (\S+))");
  for (std::sregex_iterator it(output.begin(), output.end(), line), end; it != end; ++it) {
    const unsigned long acb = std::stoul((*it)[1].str(), nullptr, 16);
    // Normal account 0x10 is UF_NORMAL_ACCOUNT 0x200; UF_SCRIPT is always on.
    char flags[16];
    std::snprintf(flags, sizeof flags, "%#lx", acb == 0x10 ? 0x201ul : acb);
    theirs.insert((*it)[2].str() + " " + flags);
  }
  EXPECT_EQ(theirs.size(), std::size(kDcComputers) + 1);
  EXPECT_EQ(ours, theirs);
}

// An NT domain in the object file: its controller from netlogon, its
// computer accounts from the SAM of that controller, then each computer
// exported as a target. Only the controller is a computer to this run: the
// others come with the "normal account" bits above and are not computers.
TEST_F(DomainController, NtDomainExpandsIntoItsController) {
  ScratchDir dir;
  RecordedMessages messages;
  const RunResult result = RunAgainstRealServers(
      dir, messages,
      std::string("1\t0\t99\t1\treserved\treserved\t") + kDcDomain + "\t\t" + kDcDomain + "\r\n",
      "ComputerSource=0\nMergeBrowseList=0\n[Computers]\nPingEnable=0\nExportComputers=1\n"
      "ComputerColumns=0,4\n",
      *Admin().credentials);
  ASSERT_FALSE(result.stopped_early) << messages.shown;
  EXPECT_EQ(dir.Read("computers.txt"), "ComputerName\tWorkstation\r\nDC1\tYES\r\n");
  EXPECT_EQ(messages.rows, "");
}

// A domain no controller answers for: the run reports it and goes on.
TEST_F(DomainController, UnknownDomainIsReportedAndTheRunGoesOn) {
  ScratchDir dir;
  RecordedMessages messages;
  const RunResult result = RunAgainstRealServers(
      dir, messages, "1\t0\t99\t1\treserved\treserved\tNOWHERE\t\tNOWHERE\r\n",
      "ComputerSource=0\n[Computers]\nPingEnable=0\nExportComputers=1\nComputerColumns=0\n",
      *Admin().credentials);
  ASSERT_FALSE(result.stopped_early) << messages.shown;
  EXPECT_EQ(messages.shown,
            "Unable to lookup domain controller for domain 'NOWHERE'. Could not find domain "
            "controller for this domain.\n");
  EXPECT_EQ(dir.Read("computers.txt"), "ComputerName\r\n");
}

// The controller's workstation service answers the transport enumeration
// with "not supported" and no transports. No row, one failure.
TEST_F(DomainController, ProtocolsOfAControllerThatDoesNotListItsTransports) {
  ScratchDir dir;
  RecordedMessages messages;
  const RunResult result = RunAgainstRealServers(
      dir, messages, std::string("1\t0\t24\t1\treserved\treserved\tDC\t\t\\\\") + kDcHost + "\r\n",
      "[Computers]\nPingEnable=0\n[Network]\nExportProtocols=1\nNetworkProtocolColumns=0,1\n",
      *Admin().credentials);
  ASSERT_FALSE(result.stopped_early) << messages.shown;
  EXPECT_EQ(dir.Read("protocols.txt"), "ProtocolName\tProtocolAddress\r\n");
  EXPECT_EQ(messages.rows, "DC: The request is not supported.\n");
}

}  // namespace
}  // namespace tabulon::testing
