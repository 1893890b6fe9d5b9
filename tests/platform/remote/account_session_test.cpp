// The account families of a remote session: which host each call goes to,
// the policy handle kept for the session, and "no controller" answers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/remote/lsarpc_codec.h"
#include "platform/remote/remote_backend.h"
#include "platform/remote/sample_stubs.h"

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

}  // namespace
}  // namespace tabulon::platform::remote
