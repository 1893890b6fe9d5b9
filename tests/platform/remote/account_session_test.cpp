// The account families of a remote session: which host each call goes to,
// the handles kept for the session and closed as it ends, and "no
// controller" answers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/remote/lsarpc_codec.h"
#include "platform/remote/remote_backend.h"
#include "platform/remote/sample_stubs.h"
#include "platform/remote/samr_codec.h"

namespace tabulon::platform::remote {
namespace {

struct Sent {
  std::string server;
  std::string pipe;
  std::uint16_t opnum;
};

// Answers lsarpc with an open policy and one translated name; netlogon's
// pipe is missing, as on a standalone server.
class FakeTransport final : public RpcTransport {
 public:
  explicit FakeTransport(std::vector<Sent>& log) : log_(log) {}
  RpcReply Call(std::string_view server, const RpcInterface& iface, std::uint16_t opnum,
                std::span<const std::uint8_t>) override {
    log_.push_back({std::string(server), std::string(iface.pipe), opnum});
    if (iface.pipe != "lsarpc") return {win::RPC_S_SERVER_UNAVAILABLE, {}};
    if (opnum == lsarpc::kLsarLookupSids) return {win::ERROR_SUCCESS, testing::LookupSidsReply()};
    if (opnum == lsarpc::kLsarClose) return {win::ERROR_SUCCESS, testing::CloseReply()};
    return {win::ERROR_SUCCESS, testing::OpenReply()};
  }

 private:
  std::vector<Sent>& log_;
};

TEST(RemoteAccountSession, HostsPolicyHandlesAndMissingControllers) {
  std::vector<Sent> log;
  RemoteBackend backend(
      [&log](const SessionOptions&) { return std::make_unique<FakeTransport>(log); }, nullptr);
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
  std::vector<std::string> calls;
  for (const Sent& s : log)
    calls.push_back(s.server + " " + s.pipe + " " + std::to_string(s.opnum));
  // One policy for both lookups on FS01, closed as the session ends.
  EXPECT_EQ(calls, (std::vector<std::string>{"FS01 lsarpc 44", "FS01 lsarpc 15", "FS01 lsarpc 15",
                                             "FS01 netlogon 11", "corp.example netlogon 34",
                                             "FS01 lsarpc 0"}));
}

// Answers samr and lsarpc with recorded replies (each domain lists the
// aliases "TABULONTEST" and "Builtin"); once `dead` is set every call fails
// as it does when the session's worker has died.
class SamTransport final : public RpcTransport {
 public:
  SamTransport(std::vector<Sent>& log, const bool& dead) : log_(log), dead_(dead) {}
  RpcReply Call(std::string_view server, const RpcInterface& iface, std::uint16_t opnum,
                std::span<const std::uint8_t>) override {
    log_.push_back({std::string(server), std::string(iface.pipe), opnum});
    if (dead_) return {win::RPC_S_CALL_FAILED, {}};
    if (iface.pipe == "lsarpc") {
      if (opnum == lsarpc::kLsarLookupSids) return {win::ERROR_SUCCESS, testing::LookupSidsReply()};
      if (opnum == lsarpc::kLsarClose) return {win::ERROR_SUCCESS, testing::CloseReply()};
      return {win::ERROR_SUCCESS, testing::OpenReply()};
    }
    switch (opnum) {
      case samr::kSamrEnumerateDomainsInSamServer:
      case samr::kSamrEnumerateAliasesInDomain:
        return {win::ERROR_SUCCESS, testing::EnumerateDomainsReply()};
      case samr::kSamrLookupDomainInSamServer:
        return {win::ERROR_SUCCESS, testing::LookupDomainReply()};
      case samr::kSamrGetMembersInAlias:
        return {win::ERROR_SUCCESS, testing::AliasMembersReply()};
      case samr::kSamrCloseHandle:
        return {win::ERROR_SUCCESS, testing::CloseReply()};
      default:
        return {win::ERROR_SUCCESS, testing::OpenReply()};
    }
  }

 private:
  std::vector<Sent>& log_;
  const bool& dead_;
};

std::vector<std::string> Calls(const std::vector<Sent>& log, std::size_t from = 0) {
  std::vector<std::string> calls;
  for (std::size_t i = from; i < log.size(); ++i) {
    calls.push_back(log[i].pipe + " " + std::to_string(log[i].opnum));
  }
  return calls;
}

// The databases are opened once; asking again for the members of a group
// costs its members and their names only. What was opened is closed as the
// session ends, the group before its domains, the domains before the
// connection.
TEST(RemoteAccountSession, GroupCallsReuseTheSessionsHandles) {
  std::vector<Sent> log;
  const bool dead = false;
  RemoteBackend backend(
      [&](const SessionOptions&) { return std::make_unique<SamTransport>(log, dead); }, nullptr);
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
    const std::size_t before = log.size();
    EXPECT_EQ(
        session->groups().NetLocalGroupGetMembers2("", "Builtin", kMaxPreferredLength, 0).status,
        win::ERROR_SUCCESS);
    EXPECT_EQ(Calls(log, before), (std::vector<std::string>{"samr 33", "lsarpc 15"}));
  }
  EXPECT_EQ(Calls(log),
            (std::vector<std::string>{"samr 57", "samr 6", "samr 5",  // connect, account SID
                                      "samr 7", "samr 15",            // built-in domain
                                      "samr 7", "samr 15",            // account domain
                                      "samr 27", "samr 33", "lsarpc 44", "lsarpc 15",  // the group
                                      "samr 33", "lsarpc 15",                          // again
                                      "samr 1", "lsarpc 0", "samr 1", "samr 1", "samr 1"}));
}

// A session whose worker died closes nothing more on that server after the
// first close fails.
TEST(RemoteAccountSession, ClosingStopsAtALostConnection) {
  std::vector<Sent> log;
  bool dead = false;
  RemoteBackend backend(
      [&](const SessionOptions&) { return std::make_unique<SamTransport>(log, dead); }, nullptr);
  std::size_t before = 0;
  {
    auto session = backend.Open("\\\\FS01", {});
    ASSERT_EQ(
        session->groups().NetLocalGroupGetMembers2("", "Builtin", kMaxPreferredLength, 0).status,
        win::ERROR_SUCCESS);
    const LsaOpenResult policy = session->policy().OpenPolicy("", kPolicyViewAuditInformation);
    ASSERT_EQ(policy.status, nt::STATUS_SUCCESS);
    dead = true;
    before = log.size();
  }
  // One attempt per family that held something: the group, the policy,
  // the lookup policy, the databases.
  EXPECT_EQ(Calls(log, before),
            (std::vector<std::string>{"lsarpc 0", "samr 1", "lsarpc 0", "samr 1"}));
}

}  // namespace
}  // namespace tabulon::platform::remote
