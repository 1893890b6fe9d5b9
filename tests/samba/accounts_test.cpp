// Account lookups, machine accounts and controller lookups against a real
// standalone smbd, checked against what Samba's own client reports for the
// same server.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <set>
#include <string>

#include "platform/remote/remote_backend.h"
#include "samba/remote_run.h"
#include "support/samba_server.h"
#include "support/server_required.h"

namespace tabulon::testing {
namespace {

using platform::Sid;
using platform::SidNameUse;

constexpr const char* kServer = "\\\\127.0.0.1";

class RemoteAccounts : public SambaServerSuite {
 protected:
  void SetUp() override {
    if (!server_) SKIP_WITHOUT_SERVER(why_not_);
    session_ = backend_.Open(kServer, TestUserLogin());
  }

  std::string RpcClient(const std::string& command) const {
    return CommandOutput("rpcclient -s " + server_->configuration() + " -U " + kSambaUser + "%" +
                         kSambaPassword + " -c '" + command + "' 127.0.0.1");
  }

  platform::remote::RemoteBackend backend_{SambaTransports, nullptr};
  std::unique_ptr<platform::TargetSession> session_;
};

TEST_F(RemoteAccounts, NamesAndSidsBothWays) {
  // "tabtest S-1-5-21-... (User: 1)"
  const std::string listed = RpcClient(std::string("lookupnames ") + kSambaUser);
  std::smatch m;
  ASSERT_TRUE(std::regex_search(listed, m, std::regex("(S-1-5-21-[0-9-]+) \\(User: 1\\)")))
      << listed;
  const std::string user_sid = m[1];

  platform::AccountLookup& lookup = session_->lookup();
  const platform::SidOfAccount by_name = lookup.LookupAccountName(kServer, kSambaUser, 128);
  ASSERT_EQ(by_name.status, win::ERROR_SUCCESS);
  EXPECT_EQ(by_name.sid.ToString(), user_sid);
  EXPECT_EQ(by_name.domain, "TABULONTEST");
  EXPECT_EQ(by_name.use, SidNameUse::kUser);

  const platform::AccountOfSid user = lookup.LookupAccountSid(kServer, by_name.sid);
  ASSERT_EQ(user.status, win::ERROR_SUCCESS);
  EXPECT_EQ(user.name, kSambaUser);
  EXPECT_EQ(user.domain, "TABULONTEST");
  EXPECT_EQ(user.use, SidNameUse::kUser);

  const platform::AccountOfSid admins = lookup.LookupAccountSid("", *Sid::Parse("S-1-5-32-544"));
  ASSERT_EQ(admins.status, win::ERROR_SUCCESS);
  EXPECT_EQ(admins.name, "Administrators");
  EXPECT_EQ(admins.domain, "BUILTIN");
  EXPECT_EQ(admins.use, SidNameUse::kAlias);
}

// Machine accounts need Unix accounts of the same name; the test's own
// /etc/passwd is a private copy.
TEST_F(RemoteAccounts, MachineAccountsPageLikeRpcclientListsThem) {
  {
    std::ofstream passwd("/etc/passwd", std::ios::app);
    passwd << "ws01$:x:3001:3001::/nonexistent:/bin/false\n"
           << "ws02$:x:3002:3002::/nonexistent:/bin/false\n";
  }
  for (const char* name : {"ws01", "ws02"}) {
    const std::string added =
        CommandOutput("pdbedit -s " + server_->configuration() + " -a -m -u " + std::string(name));
    ASSERT_NE(added.find("Unix username"), std::string::npos) << added;
  }
  // "index: 0x1 RID: 0x... acb: 0x00000080 Account: WS01$\tDesc: "
  const std::string listed = RpcClient("querydispinfo2 2");
  std::set<std::string> expected;
  const std::regex account("Account: ([^\\s]+)");
  for (auto it = std::sregex_iterator(listed.begin(), listed.end(), account);
       it != std::sregex_iterator(); ++it) {
    expected.insert((*it)[1]);
  }
  ASSERT_EQ(expected.size(), 2u) << listed;

  std::set<std::string> paged;
  std::uint32_t index = 0;
  int pages = 0;
  while (pages < 10) {
    const platform::DisplayMachinesResult page =
        session_->accounts().NetQueryDisplayMachines(kServer, index, 1, 0xFFFFFFFF);
    ASSERT_TRUE(page.status == win::ERROR_SUCCESS || page.status == win::ERROR_MORE_DATA)
        << page.status;
    if (page.entries.empty()) break;
    ++pages;
    for (const platform::DisplayMachine& m : page.entries) {
      paged.insert(m.name);
      EXPECT_EQ(m.flags & platform::kUfWorkstationTrustAccount,
                platform::kUfWorkstationTrustAccount)
          << m.name;
    }
    // Samba says there may be more after every full page; the empty page
    // after the last one ends the listing.
    if (pages == 1) {
      EXPECT_EQ(page.status, win::ERROR_MORE_DATA);
    }
    index = page.entries.back().next_index;
  }
  EXPECT_EQ(pages, 2);
  EXPECT_EQ(paged, expected);
}

// A standalone server is no controller and knows of none.
TEST_F(RemoteAccounts, StandaloneServerNamesNoController) {
  EXPECT_EQ(session_->accounts().NetGetDCName(kServer, "TESTGROUP").status, win::NERR_DCNotFound);
  EXPECT_EQ(session_->accounts().NetGetDCName("", "").status, win::NERR_DCNotFound);
  EXPECT_EQ(session_->directory().DsGetDcName("", 0x80000080).status, win::ERROR_NO_SUCH_DOMAIN);
}

}  // namespace
}  // namespace tabulon::testing
