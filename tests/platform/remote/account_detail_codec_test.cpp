// Account replies that are malformed although every read stays inside the
// stub.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/remote/lsarpc_policy_codec.h"
#include "platform/remote/sample_stubs.h"
#include "platform/remote/samr_codec.h"
#include "platform/remote/samr_domain_codec.h"
#include "platform/remote/samr_group_codec.h"
#include "platform/remote/samr_user_codec.h"

namespace tabulon::platform::remote {
namespace {

using testing::Stub;

// Failures come back with their status and, for the LSA, the NTSTATUS the
// rights export writes.
TEST(AccountDecoding, FailuresAndAnswersThatDoNotAddUp) {
  const lsarpc::AccountsWithRightReply nobody =
      lsarpc::DecodeEnumerateAccountsWithUserRight(Stub().U32(0).U32(0).U32(0x8000001A).bytes());
  EXPECT_EQ(nobody.status, win::ERROR_NO_MORE_ITEMS);
  EXPECT_EQ(nobody.ntstatus, 0x8000001Au);
  EXPECT_EQ(samr::DecodeQueryUserAllInformation(Stub().U32(0).U32(0xC0000022).bytes()).status,
            win::ERROR_ACCESS_DENIED);

  // Another class than asked, counts the arrays do not have, a success
  // without its answer.
  EXPECT_EQ(lsarpc::DecodePolicyDomain(testing::AccountDomainReply(),
                                       lsarpc::PolicyInformationClass::kPrimaryDomain)
                .status,
            win::RPC_X_BAD_STUB_DATA);
  std::vector<std::uint8_t> audit = testing::AuditEventsReply();
  audit[16] = 8;  // MaximumAuditEventCount
  EXPECT_EQ(lsarpc::DecodeAuditEvents(audit).status, win::RPC_X_BAD_STUB_DATA);
  std::vector<std::uint8_t> members = testing::GroupMembersReply();
  members[4] = 3;  // MemberCount
  EXPECT_EQ(samr::DecodeGetMembersInGroup(members).status, win::RPC_X_BAD_STUB_DATA);
  EXPECT_EQ(samr::DecodeDomainLockout(Stub().U32(0).U32(0).bytes()).status,
            win::RPC_X_BAD_STUB_DATA);
}

}  // namespace
}  // namespace tabulon::platform::remote
