// The account families of a remote session: which host each call goes to,
// the handles kept for the session and closed as it ends (bounded when the
// worker is gone), "no controller" answers, and an account a listing served
// described without a name lookup.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/remote/lsarpc_codec.h"
#include "platform/remote/remote_backend.h"
#include "platform/remote/samr_codec.h"
#include "platform/remote/scripted_server.h"

namespace tabulon::platform::remote {
namespace {

using testing::Calls;
using testing::Sent;

// samr and lsarpc answer from recorded replies (each domain lists the
// aliases "TABULONTEST" and "Builtin"); netlogon's pipe is missing, as on a
// standalone server.
const testing::Script& AccountServer() {
  static const testing::Script script = {
      {"lsarpc",
       {{lsarpc::kLsarLookupSids, testing::LookupSidsReply()},
        {lsarpc::kLsarClose, testing::CloseReply()}}},
      {"samr",
       {{samr::kSamrEnumerateDomainsInSamServer, testing::EnumerateDomainsReply()},
        {samr::kSamrEnumerateAliasesInDomain, testing::EnumerateDomainsReply()},
        {samr::kSamrLookupDomainInSamServer, testing::LookupDomainReply()},
        {samr::kSamrQueryDisplayInformation3, testing::DisplayUsersReply()},
        {samr::kSamrQueryInformationUser2, testing::UserAllReply()},
        {samr::kSamrGetGroupsForUser, testing::GroupsForUserReply()},
        {samr::kSamrGetMembersInAlias, testing::AliasMembersReply()},
        {samr::kSamrCloseHandle, testing::CloseReply()}}}};
  return script;
}

class RemoteAccountSession : public ::testing::Test {
 protected:
  std::vector<Sent> log_;
  bool dead_ = false;
  RemoteBackend backend{[this](const SessionOptions&) {
                          return std::make_unique<testing::ScriptedServer>(AccountServer(), log_,
                                                                           dead_);
                        },
                        nullptr};
};

TEST_F(RemoteAccountSession, HostsPolicyHandlesAndMissingControllers) {
  {
    auto session = backend.Open("\\\\FS01", {});
    const Sid sid = *Sid::Parse("S-1-5-21-1-2-3-1000");
    const AccountOfSid found = session->lookup().LookupAccountSid("", sid);
    EXPECT_EQ(found.name, "alice");
    EXPECT_EQ(found.domain, "CORP");
    EXPECT_EQ(session->lookup().LookupAccountSid("\\\\FS01", sid).status, win::ERROR_SUCCESS);
    EXPECT_EQ(session->accounts().NetGetDCName("", "CORP").status, win::NERR_DCNotFound);
    EXPECT_EQ(session->directory().DsGetDcName("corp.example", 0x80000080).status,
              win::ERROR_NO_SUCH_DOMAIN);
  }
  // One policy for both lookups on FS01, closed as the session ends.
  EXPECT_EQ(
      Calls(log_, 0, true),
      (std::vector<std::string>{"FS01 lsarpc 44", "FS01 lsarpc 15", "FS01 lsarpc 15",
                                "FS01 netlogon 11", "corp.example netlogon 34", "FS01 lsarpc 0"}));
}

// The databases are opened once; asking again for the members of a group
// costs its members and their names only. What was opened is closed as the
// session ends, the group before its domains, the domains before the
// connection.
TEST_F(RemoteAccountSession, GroupCallsReuseTheSessionsHandles) {
  {
    auto session = backend.Open("\\\\FS01", {});
    const LocalGroupMembersResult first =
        session->groups().NetLocalGroupGetMembers2("", "builtin", kMaxPreferredLength, 0);
    ASSERT_EQ(first.status, win::ERROR_SUCCESS);
    ASSERT_EQ(first.entries.size(), 2u);
    EXPECT_EQ(first.entries[0].domain_and_name, "CORP\\alice");
    // A SID the server cannot name is listed by itself.
    EXPECT_EQ(first.entries[1].domain_and_name, "S-1-5-21-1-2-3-500");
    EXPECT_EQ(first.entries[1].sid_usage, SidNameUse::kUnknown);
    EXPECT_EQ(
        session->groups().NetLocalGroupGetMembers2("", "Staff", kMaxPreferredLength, 0).status,
        win::NERR_GroupNotFound);
    const std::size_t before = log_.size();
    EXPECT_EQ(
        session->groups().NetLocalGroupGetMembers2("", "Builtin", kMaxPreferredLength, 0).status,
        win::ERROR_SUCCESS);
    EXPECT_EQ(Calls(log_, before), (std::vector<std::string>{"samr 33", "lsarpc 15"}));
  }
  EXPECT_EQ(Calls(log_),
            (std::vector<std::string>{"samr 57", "samr 6", "samr 5",  // connect, account SID
                                      "samr 7", "samr 15",            // built-in domain
                                      "samr 7", "samr 15",            // account domain
                                      "samr 27", "samr 33", "lsarpc 44", "lsarpc 15",  // the group
                                      "samr 33", "lsarpc 15",                          // again
                                      "samr 1", "lsarpc 0", "samr 1", "samr 1", "samr 1"}));
}

// A session whose worker died closes nothing more on that server after the
// first close fails.
TEST_F(RemoteAccountSession, ClosingStopsAtALostConnection) {
  std::size_t before = 0;
  {
    auto session = backend.Open("\\\\FS01", {});
    ASSERT_EQ(
        session->groups().NetLocalGroupGetMembers2("", "Builtin", kMaxPreferredLength, 0).status,
        win::ERROR_SUCCESS);
    const LsaOpenResult policy = session->policy().OpenPolicy("", kPolicyViewAuditInformation);
    ASSERT_EQ(policy.status, nt::STATUS_SUCCESS);
    dead_ = true;
    before = log_.size();
  }
  // One attempt per family that held something: the group, the policy,
  // the lookup policy, the databases.
  EXPECT_EQ(Calls(log_, before),
            (std::vector<std::string>{"lsarpc 0", "samr 1", "lsarpc 0", "samr 1"}));
}

TEST_F(RemoteAccountSession, HandlesKeptAndListedAccountsNeedNoLookup) {
  auto session = backend.Open("\\\\FS01", {});
  UserAccounts& users = session->users();
  const DisplayUsersResult page = users.NetQueryDisplayUsers("\\\\DC1", 0, 5000, 0xFFFFFFFF);
  ASSERT_EQ(page.entries.size(), 1u);
  // Connect, find and open the account domain, list: on the server named.
  EXPECT_EQ(Calls(log_, 0, true),
            (std::vector<std::string>{"DC1 samr 57", "DC1 samr 6", "DC1 samr 5", "DC1 samr 7",
                                      "DC1 samr 51"}));

  log_.clear();
  ASSERT_EQ(users.NetUserGetInfo("\\\\DC1", page.entries.front().name, 3).status,
            win::ERROR_SUCCESS);
  // The built-in domain and its deciding aliases once; the account itself.
  ASSERT_EQ(log_.size(), 4u + 1 + 5 * 3);
  log_.clear();
  ASSERT_EQ(users.NetUserGetInfo("\\\\DC1", page.entries.front().name, 2).status,
            win::ERROR_SUCCESS);
  EXPECT_EQ(Calls(log_), (std::vector<std::string>{"samr 34", "samr 47", "samr 39", "samr 1"}));

  // The worker is gone: one close fails, the others are not tried.
  log_.clear();
  dead_ = true;
  session.reset();
  EXPECT_EQ(Calls(log_), (std::vector<std::string>{"samr 1"}));
}

}  // namespace
}  // namespace tabulon::platform::remote
