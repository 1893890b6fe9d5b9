// The user, group, alias, domain policy and LSA policy replies: hand-built
// stubs decoded, and the answers that are malformed although every read
// stays inside the stub.
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

TEST(SamrDecoding, UserListingsAndTranslatedRids) {
  const samr::DisplayUsersReply page = samr::DecodeQueryDisplayUsers(testing::DisplayUsersReply());
  ASSERT_EQ(page.status, win::ERROR_SUCCESS);
  ASSERT_EQ(page.entries.size(), 1u);
  EXPECT_EQ(page.entries[0].name, "alice");
  EXPECT_EQ(page.entries[0].full_name, "Ali");
  EXPECT_EQ(page.entries[0].comment, "");
  EXPECT_EQ(page.entries[0].flags, 0x10201u);  // UF_SCRIPT, normal, password never expires

  const samr::LookupIdsReply names = samr::DecodeLookupIds(testing::LookupIdsReply());
  ASSERT_EQ(names.status, win::ERROR_SUCCESS);  // some not mapped
  ASSERT_EQ(names.entries.size(), 2u);
  EXPECT_EQ(names.entries[0].name, "alice");
  EXPECT_EQ(names.entries[0].use, SidNameUse::kUser);
  EXPECT_EQ(names.entries[1].use, SidNameUse::kUnknown);
}

TEST(SamrDecoding, EverythingAboutAUser) {
  const samr::UserInformationReply reply =
      samr::DecodeQueryUserAllInformation(testing::UserAllReply());
  ASSERT_EQ(reply.status, win::ERROR_SUCCESS);
  const samr::UserAllInformation& u = reply.info;
  EXPECT_EQ(u.last_logon, 0x01D9A0B1D53E8000);
  EXPECT_EQ(u.user_name, "alice");
  EXPECT_EQ(u.full_name, "Al");
  EXPECT_EQ(u.home_directory, "");
  EXPECT_EQ(u.user_id, 1105u);
  EXPECT_EQ(u.primary_group_id, 513u);
  EXPECT_EQ(samr::AccountFlagsOf(u.user_account_control), 0x10203u);
  EXPECT_EQ(u.logon_hours.units_per_week, 168);
  EXPECT_EQ(u.logon_hours.bits, std::vector<std::uint8_t>(21, 0xFF));
  EXPECT_EQ(u.bad_password_count, 3);
  EXPECT_EQ(u.logon_count, 7);
  EXPECT_TRUE(u.password_expired);
}

TEST(SamrDecoding, GroupsAliasesAndTheirMembers) {
  const samr::GroupsForUserReply groups =
      samr::DecodeGetGroupsForUser(testing::GroupsForUserReply());
  ASSERT_EQ(groups.groups.size(), 2u);
  EXPECT_EQ(groups.groups[1].rid, 512u);
  EXPECT_EQ(groups.groups[1].attributes, 7u);
  EXPECT_EQ(samr::DecodeGetAliasMembership(testing::AliasMembershipReply()).alias_rids,
            std::vector<std::uint32_t>{0x220});

  const samr::GroupInformationReply group =
      samr::DecodeQueryGroupGeneral(testing::GroupGeneralReply());
  EXPECT_EQ(group.info.name, "Domain Admins");
  EXPECT_EQ(group.info.admin_comment, "Admins");
  EXPECT_EQ(group.info.member_count, 1u);
  const samr::AliasInformationReply alias =
      samr::DecodeQueryAliasGeneral(testing::AliasGeneralReply());
  EXPECT_EQ(alias.info.name, "Administrators");
  EXPECT_EQ(alias.info.member_count, 3u);

  const samr::GroupMembersReply members =
      samr::DecodeGetMembersInGroup(testing::GroupMembersReply());
  EXPECT_EQ(members.rids, (std::vector<std::uint32_t>{500, 1105}));
  EXPECT_EQ(members.attributes, (std::vector<std::uint32_t>{7, 7}));
  const samr::AliasMembersReply sids = samr::DecodeGetMembersInAlias(testing::AliasMembersReply());
  ASSERT_EQ(sids.members.size(), 2u);
  EXPECT_EQ(sids.members[1].ToString(), "S-1-5-21-1-2-3-500");
}

TEST(SamrDecoding, DomainPolicyInSecondsAsTheUserModalsReportIt) {
  const samr::DomainPasswordReply password =
      samr::DecodeDomainPassword(testing::DomainPasswordReply());
  ASSERT_EQ(password.status, win::ERROR_SUCCESS);
  EXPECT_EQ(password.info.min_password_length, 7);
  EXPECT_EQ(password.info.password_history_length, 24);
  EXPECT_EQ(samr::NetSecondsOfInterval(password.info.max_password_age), samr::kTimeqForever);
  EXPECT_EQ(samr::NetSecondsOfInterval(password.info.min_password_age), 86400u);
  EXPECT_EQ(samr::NetSecondsOfInterval(
                samr::DecodeDomainLogoff(testing::DomainLogoffReply()).force_logoff),
            samr::kTimeqForever);
  const samr::DomainLockoutReply lockout = samr::DecodeDomainLockout(testing::DomainLockoutReply());
  EXPECT_EQ(samr::NetSecondsOfInterval(lockout.info.lockout_duration), 1800u);
  EXPECT_EQ(samr::NetSecondsOfInterval(lockout.info.lockout_observation_window), 1800u);
  EXPECT_EQ(lockout.info.lockout_threshold, 5);
  // An interval too long for 32 bits of seconds is reported as never ending.
  EXPECT_EQ(samr::NetSecondsOfInterval(-(std::int64_t{1} << 62)), samr::kTimeqForever);
}

TEST(LsarpcDecoding, RightsPrivilegeNamesAndPolicy) {
  const lsarpc::AccountsWithRightReply holders =
      lsarpc::DecodeEnumerateAccountsWithUserRight(testing::AccountsWithRightReply());
  ASSERT_EQ(holders.accounts.size(), 1u);
  EXPECT_EQ(holders.accounts[0].ToString(), "S-1-5-32-544");
  const lsarpc::PrivilegeDisplayNameReply name =
      lsarpc::DecodeLookupPrivilegeDisplayName(testing::PrivilegeDisplayNameReply());
  EXPECT_EQ(name.display_name, "Back up");
  EXPECT_EQ(name.language, 0x409);

  const lsarpc::AuditEventsReply audit = lsarpc::DecodeAuditEvents(testing::AuditEventsReply());
  ASSERT_EQ(audit.status, win::ERROR_SUCCESS);
  EXPECT_TRUE(audit.info.auditing_mode);
  EXPECT_EQ(audit.info.event_auditing_options,
            (std::vector<std::uint32_t>{0, 2, 0, 0, 0, 1, 3, 0, 0}));
  const lsarpc::PolicyDomainReply domain = lsarpc::DecodePolicyDomain(
      testing::AccountDomainReply(), lsarpc::PolicyInformationClass::kAccountDomain);
  EXPECT_EQ(domain.name, "CORP");
  ASSERT_TRUE(domain.has_sid);
  EXPECT_EQ(domain.sid.ToString(), "S-1-5-21-1-2-3");
}

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
