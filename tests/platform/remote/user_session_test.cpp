// The user families of a remote session: the account database opened once
// per server and session, an account a listing served described without a
// name lookup, and the closes at session end bounded when the worker is
// gone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/remote/remote_backend.h"
#include "platform/remote/sample_stubs.h"
#include "platform/remote/samr_codec.h"

namespace tabulon::platform::remote {
namespace {

// Answers samr from recorded replies; `dead` makes every call fail as a
// transport whose worker has gone.
class FakeSamr final : public RpcTransport {
 public:
  FakeSamr(std::vector<std::string>& log, const bool& dead) : log_(log), dead_(dead) {}
  RpcReply Call(std::string_view server, const RpcInterface&, std::uint16_t opnum,
                std::span<const std::uint8_t>) override {
    log_.push_back(std::string(server) + " " + std::to_string(opnum));
    if (dead_) return {win::RPC_S_CALL_FAILED, {}};
    switch (opnum) {
      case samr::kSamrEnumerateDomainsInSamServer:
        return {win::ERROR_SUCCESS, testing::EnumerateDomainsReply()};
      case samr::kSamrLookupDomainInSamServer:
        return {win::ERROR_SUCCESS, testing::LookupDomainReply()};
      case samr::kSamrQueryDisplayInformation3:
        return {win::ERROR_SUCCESS, testing::DisplayUsersReply()};
      case samr::kSamrQueryInformationUser2:
        return {win::ERROR_SUCCESS, testing::UserAllReply()};
      case samr::kSamrGetGroupsForUser:
        return {win::ERROR_SUCCESS, testing::GroupsForUserReply()};
      case samr::kSamrGetMembersInAlias:
        return {win::ERROR_SUCCESS, testing::AliasMembersReply()};
      case samr::kSamrCloseHandle:
        return {win::ERROR_SUCCESS, testing::CloseReply()};
      default:
        return {win::ERROR_SUCCESS, testing::OpenReply()};
    }
  }

 private:
  std::vector<std::string>& log_;
  const bool& dead_;
};

TEST(RemoteUserSession, HandlesKeptAndListedAccountsNeedNoLookup) {
  std::vector<std::string> log;
  bool dead = false;
  RemoteBackend backend(
      [&](const SessionOptions&) { return std::make_unique<FakeSamr>(log, dead); }, nullptr);
  auto session = backend.Open("\\\\FS01", {});
  UserAccounts& users = session->users();
  const DisplayUsersResult page = users.NetQueryDisplayUsers("\\\\DC1", 0, 5000, 0xFFFFFFFF);
  ASSERT_EQ(page.entries.size(), 1u);
  // Connect, find and open the account domain, list: on the server named.
  EXPECT_EQ(log, (std::vector<std::string>{"DC1 57", "DC1 6", "DC1 5", "DC1 7", "DC1 51"}));

  log.clear();
  ASSERT_EQ(users.NetUserGetInfo("\\\\DC1", page.entries.front().name, 3).status,
            win::ERROR_SUCCESS);
  // The built-in domain and its deciding aliases once; the account itself.
  ASSERT_EQ(log.size(), 4u + 1 + 5 * 3);
  log.clear();
  ASSERT_EQ(users.NetUserGetInfo("\\\\DC1", page.entries.front().name, 2).status,
            win::ERROR_SUCCESS);
  EXPECT_EQ(log, (std::vector<std::string>{"DC1 34", "DC1 47", "DC1 39", "DC1 1"}));

  // The worker is gone: one close fails, the others are not tried.
  log.clear();
  dead = true;
  session.reset();
  EXPECT_EQ(log, (std::vector<std::string>{"DC1 1"}));
}

}  // namespace
}  // namespace tabulon::platform::remote
