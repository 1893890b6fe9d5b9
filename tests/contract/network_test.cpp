// The network management families: the server service's listings, the
// workstation's transports, a domain's browse list and the account
// service's machine accounts and controller.
#include <gtest/gtest.h>

#include <algorithm>

#include "contract/contract.h"
#include "platform/text.h"

namespace tabulon::testing::contract {
namespace {

using platform::kMaxPreferredLength;

template <typename Backend>
class ServerServiceContract : public Contract<Backend> {};
TYPED_TEST_SUITE_P(ServerServiceContract);

TYPED_TEST_P(ServerServiceContract, SharesReadInPiecesAreTheWholeList) {
  CONTRACT_FAMILY(facts, serving, server);
  platform::ServerService& server = this->session().server();
  if (Refused(serving, server.NetShareEnum(facts.server, 1, kMaxPreferredLength, 0))) return;
  for (const std::uint32_t level : {1u, 502u}) {
    SCOPED_TRACE(level);
    const std::vector<std::string> names = ExpectPagesMakeTheWhole(
        [&](std::uint32_t length, std::uint32_t resume) {
          return server.NetShareEnum(facts.server, level, length, resume);
        },
        [](const platform::ShareInfo& share) { return share.netname; });
    EXPECT_GE(names.size(), 2u);
  }
  EXPECT_EQ(server.NetShareEnum(facts.server, 2, kMaxPreferredLength, 0).status,
            win::ERROR_INVALID_LEVEL);
}

TYPED_TEST_P(ServerServiceContract, OneShareByNameInAnyCase) {
  CONTRACT_FAMILY(facts, serving, server);
  platform::ServerService& server = this->session().server();
  const platform::ShareGetInfoResult share = server.NetShareGetInfo0(facts.server, facts.share);
  if (Refused(serving, share)) return;
  EXPECT_EQ(share.status, win::ERROR_SUCCESS);
  EXPECT_TRUE(text::EqualsNoCase(share.netname, facts.share)) << share.netname;
  EXPECT_EQ(server.NetShareGetInfo0(facts.server, "NoSuchShare").status, facts.missing_share);
}

TYPED_TEST_P(ServerServiceContract, SessionsConnectionsAndFilesReadInPieces) {
  CONTRACT_FAMILY(facts, serving, server);
  platform::ServerService& server = this->session().server();
  if (Refused(serving, server.NetSessionEnum(facts.server, "", "", 1, kMaxPreferredLength, 0))) {
    return;
  }
  EXPECT_EQ(server.NetSessionEnum(facts.server, "", "", 502, kMaxPreferredLength, 0).status,
            facts.sessions_502 ? win::ERROR_SUCCESS : win::ERROR_INVALID_LEVEL);
  for (const std::uint32_t level : {1u, 502u}) {
    if (level == 502 && !facts.sessions_502) continue;
    SCOPED_TRACE(level);
    ExpectPagesMakeTheWhole(
        [&](std::uint32_t length, std::uint32_t resume) {
          return server.NetSessionEnum(facts.server, "", "", level, length, resume);
        },
        [](const platform::SessionInfo& s) { return s.cname + "\\" + s.username; });
  }
  EXPECT_EQ(server.NetSessionEnum(facts.server, "", "", 10, kMaxPreferredLength, 0).status,
            win::ERROR_INVALID_LEVEL);
  ExpectPagesMakeTheWhole(
      [&](std::uint32_t length, std::uint32_t resume) {
        return server.NetConnectionEnum1(facts.server, facts.share, length, resume);
      },
      [](const platform::ConnectionInfo1& c) { return c.netname + "\\" + c.username; });
  ExpectPagesMakeTheWhole(
      [&](std::uint32_t length, std::uint32_t resume) {
        return server.NetFileEnum3(facts.server, "", "", length, resume);
      },
      [](const platform::FileInfo3& f) { return f.pathname; });
}

TYPED_TEST_P(ServerServiceContract, DisksAreCounted) {
  CONTRACT_FAMILY(facts, serving, server);
  const platform::ServerDiskEnumResult disks =
      this->session().server().NetServerDiskEnum0(facts.server, 1);
  if (Refused(serving, disks)) return;
  EXPECT_EQ(disks.status, win::ERROR_SUCCESS);
  EXPECT_EQ(disks.total_entries, disks.disks.size());
}

TYPED_TEST_P(ServerServiceContract, UnknownServerIsABadNetworkPath) {
  CONTRACT_FAMILY(facts, serving, server);
  const platform::ServerInfoResult info =
      this->session().server().NetServerGetInfo101("\\\\NOSUCHHOST");
  if (Refused(serving, info)) return;
  EXPECT_EQ(info.status, win::ERROR_BAD_NETPATH);
  EXPECT_EQ(this->session().server().NetServerGetInfo101(facts.server).status, win::ERROR_SUCCESS);
}

REGISTER_TYPED_TEST_SUITE_P(ServerServiceContract, SharesReadInPiecesAreTheWholeList,
                            OneShareByNameInAnyCase, SessionsConnectionsAndFilesReadInPieces,
                            DisksAreCounted, UnknownServerIsABadNetworkPath);
INSTANTIATE_TYPED_TEST_SUITE_P(Every, ServerServiceContract, Backends);

template <typename Backend>
class BrowseAndTransportContract : public Contract<Backend> {};
TYPED_TEST_SUITE_P(BrowseAndTransportContract);

TYPED_TEST_P(BrowseAndTransportContract, TransportsReadInPieces) {
  CONTRACT_FAMILY(facts, serving, workstation);
  platform::WorkstationService& workstation = this->session().workstation();
  if (Refused(serving, workstation.NetWkstaTransportEnum0(facts.server, kMaxPreferredLength, 0))) {
    return;
  }
  const std::vector<std::string> names = ExpectPagesMakeTheWhole(
      [&](std::uint32_t length, std::uint32_t resume) {
        return workstation.NetWkstaTransportEnum0(facts.server, length, resume);
      },
      [](const platform::WkstaTransportInfo0& t) { return t.transport_name; });
  EXPECT_GE(names.size(), 2u);
}

TYPED_TEST_P(BrowseAndTransportContract, BrowseListReadInPieces) {
  CONTRACT_FAMILY(facts, serving, browser);
  platform::BrowserService& browser = this->session().browser();
  if (Refused(serving,
              browser.NetServerEnum101(facts.name, platform::kSvTypeAll, kMaxPreferredLength, 0))) {
    return;
  }
  const std::vector<std::string> names = ExpectPagesMakeTheWhole(
      [&](std::uint32_t length, std::uint32_t resume) {
        return browser.NetServerEnum101(facts.name, platform::kSvTypeAll, length, resume);
      },
      [](const platform::ServerInfo101& s) { return s.name; });
  EXPECT_GE(names.size(), 2u);
  EXPECT_EQ(
      browser.NetServerEnum101("NOSUCHDOMAIN", platform::kSvTypeAll, kMaxPreferredLength, 0).status,
      win::ERROR_NO_BROWSER_SERVERS_FOUND);
}

REGISTER_TYPED_TEST_SUITE_P(BrowseAndTransportContract, TransportsReadInPieces,
                            BrowseListReadInPieces);
INSTANTIATE_TYPED_TEST_SUITE_P(Every, BrowseAndTransportContract, Backends);

template <typename Backend>
class AccountServiceContract : public Contract<Backend> {};
TYPED_TEST_SUITE_P(AccountServiceContract);

// Machine accounts page by index: each page goes on from the last entry's
// next index, ERROR_MORE_DATA while some may be left, and a page holds at
// most what was asked for.
TYPED_TEST_P(AccountServiceContract, MachineAccountsPageByIndex) {
  CONTRACT_FAMILY(facts, serving, accounts);
  platform::AccountService& accounts = this->session().accounts();
  const platform::DisplayMachinesResult whole =
      accounts.NetQueryDisplayMachines(facts.server, 0, 1000, kMaxPreferredLength);
  if (Refused(serving, whole)) return;
  EXPECT_EQ(whole.status, win::ERROR_SUCCESS);
  // Windows lists them by name, Samba by account number.
  std::vector<std::string> names;
  for (const platform::DisplayMachine& m : whole.entries) names.push_back(m.name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, facts.machines);

  std::vector<std::string> paged;
  std::uint32_t index = 0;
  for (int page = 0; page < 100; ++page) {
    const platform::DisplayMachinesResult result =
        accounts.NetQueryDisplayMachines(facts.server, index, 1, kMaxPreferredLength);
    ASSERT_TRUE(result.status == win::ERROR_SUCCESS || result.status == win::ERROR_MORE_DATA)
        << result.status;
    ASSERT_LE(result.entries.size(), 1u);
    if (result.entries.empty()) break;
    paged.push_back(result.entries[0].name);
    if (paged.size() < facts.machines.size()) {
      EXPECT_EQ(result.status, win::ERROR_MORE_DATA);
    }
    index = result.entries[0].next_index;
  }
  std::sort(paged.begin(), paged.end());
  EXPECT_EQ(paged, facts.machines);
}

TYPED_TEST_P(AccountServiceContract, ControllerOfADomain) {
  CONTRACT_FAMILY(facts, serving, accounts);
  platform::AccountService& accounts = this->session().accounts();
  const platform::DcNameResult dc = accounts.NetGetDCName(facts.server, facts.domain);
  if (Refused(serving, dc)) return;
  EXPECT_EQ(dc.status, win::ERROR_SUCCESS);
  EXPECT_TRUE(text::EqualsNoCase(dc.dc_name, facts.controller)) << dc.dc_name;
  EXPECT_EQ(accounts.NetGetDCName(facts.server, "NOSUCHDOMAIN").status, win::NERR_DCNotFound);
}

REGISTER_TYPED_TEST_SUITE_P(AccountServiceContract, MachineAccountsPageByIndex,
                            ControllerOfADomain);
INSTANTIATE_TYPED_TEST_SUITE_P(Every, AccountServiceContract, Backends);

}  // namespace
}  // namespace tabulon::testing::contract
