// The account families: name and SID lookups, groups, user accounts and the
// database's settings, and the LSA policy.
#include <gtest/gtest.h>

#include <algorithm>

#include "contract/contract.h"
#include "platform/text.h"

namespace tabulon::testing::contract {
namespace {

using platform::kMaxPreferredLength;

template <typename Backend>
class LookupContract : public Contract<Backend> {};
TYPED_TEST_SUITE_P(LookupContract);

// The SID buffer is the caller's: too small gives the size it needs.
TYPED_TEST_P(LookupContract, SidBufferIsSizedByTheCaller) {
  CONTRACT_FAMILY(facts, serving, lookup);
  platform::AccountLookup& lookup = this->session().lookup();
  const platform::SidOfAccount sizing = lookup.LookupAccountName(facts.system, facts.account, 0);
  if (Refused(serving, sizing)) return;
  EXPECT_EQ(sizing.status, win::ERROR_INSUFFICIENT_BUFFER);
  ASSERT_GT(sizing.required_sid_size, 8u);
  EXPECT_EQ(
      lookup.LookupAccountName(facts.system, facts.account, sizing.required_sid_size - 1).status,
      win::ERROR_INSUFFICIENT_BUFFER);
  const platform::SidOfAccount found =
      lookup.LookupAccountName(facts.system, facts.account, sizing.required_sid_size);
  ASSERT_EQ(found.status, win::ERROR_SUCCESS);
  EXPECT_EQ(found.sid.ByteSize(), sizing.required_sid_size);
  EXPECT_EQ(found.use, platform::SidNameUse::kUser);

  const platform::AccountOfSid back = lookup.LookupAccountSid(facts.system, found.sid);
  ASSERT_EQ(back.status, win::ERROR_SUCCESS);
  const std::string_view bare =
      std::string_view(facts.account).substr(facts.account.find('\\') + 1);
  EXPECT_TRUE(text::EqualsNoCase(back.name, bare)) << back.name;
  EXPECT_TRUE(text::EqualsNoCase(back.domain, found.domain)) << back.domain;
}

TYPED_TEST_P(LookupContract, UnknownNamesAndSidsAreNoneMapped) {
  CONTRACT_FAMILY(facts, serving, lookup);
  platform::AccountLookup& lookup = this->session().lookup();
  const platform::SidOfAccount nobody = lookup.LookupAccountName(facts.system, "nobody-here", 128);
  if (Refused(serving, nobody)) return;
  EXPECT_EQ(nobody.status, win::ERROR_NONE_MAPPED);
  platform::Sid unknown = lookup.LookupAccountName(facts.system, facts.account, 128).sid;
  ASSERT_FALSE(unknown.sub_authorities.empty());
  unknown.sub_authorities.back() = 77777;
  EXPECT_EQ(lookup.LookupAccountSid(facts.system, unknown).status, win::ERROR_NONE_MAPPED);
  const platform::AccountOfSid admins =
      lookup.LookupAccountSid(facts.system, *platform::Sid::Parse("S-1-5-32-544"));
  EXPECT_EQ(admins.status, win::ERROR_SUCCESS);
  EXPECT_EQ(admins.domain, "BUILTIN");
  EXPECT_EQ(admins.use, platform::SidNameUse::kAlias);
}

REGISTER_TYPED_TEST_SUITE_P(LookupContract, SidBufferIsSizedByTheCaller,
                            UnknownNamesAndSidsAreNoneMapped);
INSTANTIATE_TYPED_TEST_SUITE_P(Every, LookupContract, Backends);

template <typename Backend>
class GroupsContract : public Contract<Backend> {};
TYPED_TEST_SUITE_P(GroupsContract);

TYPED_TEST_P(GroupsContract, LocalGroupsAndMembersReadInPieces) {
  CONTRACT_FAMILY(facts, serving, groups);
  platform::GroupService& groups = this->session().groups();
  if (Refused(serving, groups.NetLocalGroupEnum1(facts.server, kMaxPreferredLength, 0))) return;
  const std::vector<std::string> names = ExpectPagesMakeTheWhole(
      [&](std::uint32_t length, std::uint32_t resume) {
        return groups.NetLocalGroupEnum1(facts.server, length, resume);
      },
      [](const platform::LocalGroupInfo1& group) { return group.name; });
  EXPECT_GE(names.size(), 2u);
  const std::vector<std::string> members = ExpectPagesMakeTheWhole(
      [&](std::uint32_t length, std::uint32_t resume) {
        return groups.NetLocalGroupGetMembers2(facts.server, facts.group, length, resume);
      },
      [](const platform::LocalGroupMembersInfo2& member) { return member.sid.ToString(); });
  EXPECT_GE(members.size(), 1u);
}

TYPED_TEST_P(GroupsContract, GroupsByNameInAnyCase) {
  CONTRACT_FAMILY(facts, serving, groups);
  platform::GroupService& groups = this->session().groups();
  const platform::LocalGroupInfoResult local =
      groups.NetLocalGroupGetInfo1(facts.server, text::ToUpper(facts.group));
  if (Refused(serving, local)) return;
  EXPECT_EQ(local.status, win::ERROR_SUCCESS);
  EXPECT_TRUE(text::EqualsNoCase(local.info.name, facts.group)) << local.info.name;
  EXPECT_EQ(groups.NetLocalGroupGetInfo1(facts.server, "NoSuchGroup").status,
            win::NERR_GroupNotFound);
  EXPECT_EQ(
      groups.NetLocalGroupGetMembers2(facts.server, "NoSuchGroup", kMaxPreferredLength, 0).status,
      win::NERR_GroupNotFound);
  EXPECT_EQ(groups.NetGroupGetUsers0(facts.server, "NoSuchGroup", kMaxPreferredLength, 0).status,
            win::NERR_GroupNotFound);
  EXPECT_EQ(groups.NetGroupGetInfo1(facts.server, "NoSuchGroup").status, win::NERR_GroupNotFound);
}

TYPED_TEST_P(GroupsContract, GlobalGroupUsersReadInPieces) {
  CONTRACT_FAMILY(facts, serving, groups);
  platform::GroupService& groups = this->session().groups();
  if (serving == Serving::kServed && facts.global_group.empty()) {
    GTEST_SKIP() << "this server has no global groups";
  }
  const platform::GroupInfoResult info =
      groups.NetGroupGetInfo1(facts.controller, facts.global_group);
  if (Refused(serving, info)) return;
  EXPECT_EQ(info.status, win::ERROR_SUCCESS);
  EXPECT_EQ(info.info.name, facts.global_group);
  const std::vector<std::string> users = ExpectPagesMakeTheWhole(
      [&](std::uint32_t length, std::uint32_t resume) {
        return groups.NetGroupGetUsers0(facts.controller, facts.global_group, length, resume);
      },
      [](const platform::GroupUsersInfo0& user) { return user.name; });
  EXPECT_GE(users.size(), 1u);
}

REGISTER_TYPED_TEST_SUITE_P(GroupsContract, LocalGroupsAndMembersReadInPieces,
                            GroupsByNameInAnyCase, GlobalGroupUsersReadInPieces);
INSTANTIATE_TYPED_TEST_SUITE_P(Every, GroupsContract, Backends);

template <typename Backend>
class UserAccountsContract : public Contract<Backend> {};
TYPED_TEST_SUITE_P(UserAccountsContract);

// The display list pages by index like the machine accounts.
TYPED_TEST_P(UserAccountsContract, DisplayListPagesByIndex) {
  CONTRACT_FAMILY(facts, serving, users);
  platform::UserAccounts& users = this->session().users();
  const platform::DisplayUsersResult whole =
      users.NetQueryDisplayUsers(facts.server, 0, 1000, kMaxPreferredLength);
  if (Refused(serving, whole)) return;
  EXPECT_EQ(whole.status, win::ERROR_SUCCESS);
  std::vector<std::string> names;
  for (const platform::DisplayUser& user : whole.entries) names.push_back(user.name);
  EXPECT_TRUE(std::any_of(names.begin(), names.end(), [&](const std::string& name) {
    return text::EqualsNoCase(name, facts.user);
  })) << facts.user;

  std::vector<std::string> paged;
  std::uint32_t index = 0;
  for (int page = 0; page < 1000; ++page) {
    const platform::DisplayUsersResult result =
        users.NetQueryDisplayUsers(facts.server, index, 1, kMaxPreferredLength);
    ASSERT_TRUE(result.status == win::ERROR_SUCCESS || result.status == win::ERROR_MORE_DATA)
        << result.status;
    ASSERT_LE(result.entries.size(), 1u);
    if (result.entries.empty()) break;
    paged.push_back(result.entries[0].name);
    if (paged.size() < names.size()) {
      EXPECT_EQ(result.status, win::ERROR_MORE_DATA);
    }
    index = result.entries[0].next_index;
  }
  EXPECT_EQ(paged, names);
}

TYPED_TEST_P(UserAccountsContract, UnknownUsersAndLevels) {
  CONTRACT_FAMILY(facts, serving, users);
  platform::UserAccounts& users = this->session().users();
  const platform::UserInfoResult user = users.NetUserGetInfo(facts.server, facts.user, 3);
  if (Refused(serving, user)) return;
  EXPECT_EQ(user.status, win::ERROR_SUCCESS);
  EXPECT_TRUE(text::EqualsNoCase(user.info.name, facts.user)) << user.info.name;
  EXPECT_EQ(users.NetUserGetInfo(facts.server, facts.user, 5).status, win::ERROR_INVALID_LEVEL);
  EXPECT_EQ(users.NetUserGetInfo(facts.server, "nobody-here", 3).status, win::NERR_UserNotFound);
  EXPECT_EQ(users.NetUserGetLocalGroups(facts.server, "nobody-here", 0, 1).status,
            win::NERR_UserNotFound);
  EXPECT_EQ(users.NetUserGetGroups(facts.server, "nobody-here", 0).status, win::NERR_UserNotFound);
  EXPECT_EQ(users.NetUserGetGroups(facts.server, facts.user, 0).status, win::ERROR_SUCCESS);
}

TYPED_TEST_P(UserAccountsContract, SettingsOfTheDatabase) {
  CONTRACT_FAMILY(facts, serving, users);
  platform::UserModals& modals = this->session().user_modals();
  const platform::UserModals2Result domain = modals.NetUserModalsGet2(facts.server);
  if (Refused(serving, domain)) return;
  EXPECT_EQ(domain.status, win::ERROR_SUCCESS);
  EXPECT_FALSE(domain.domain_name.empty());
  EXPECT_FALSE(domain.domain_id.sub_authorities.empty());
  EXPECT_EQ(modals.NetUserModalsGet0(facts.server).status, win::ERROR_SUCCESS);
  EXPECT_EQ(modals.NetUserModalsGet3(facts.server).status, win::ERROR_SUCCESS);
}

REGISTER_TYPED_TEST_SUITE_P(UserAccountsContract, DisplayListPagesByIndex, UnknownUsersAndLevels,
                            SettingsOfTheDatabase);
INSTANTIATE_TYPED_TEST_SUITE_P(Every, UserAccountsContract, Backends);

template <typename Backend>
class LsaPolicyContract : public Contract<Backend> {};
TYPED_TEST_SUITE_P(LsaPolicyContract);

constexpr std::uint32_t kRightsAccess =
    platform::kPolicyLookupNames | platform::kPolicyViewLocalInformation;

TYPED_TEST_P(LsaPolicyContract, RightsThroughAHandleThatIsClosedOnce) {
  CONTRACT_FAMILY(facts, serving, policy);
  platform::LsaPolicy& policy = this->session().policy();
  const platform::LsaOpenResult opened = policy.OpenPolicy(facts.system, kRightsAccess);
  if (Refused(serving, opened, nt::STATUS_NOT_SUPPORTED)) return;
  ASSERT_EQ(opened.status, nt::STATUS_SUCCESS);
  const platform::AccountsWithRightResult holders =
      policy.EnumerateAccountsWithUserRight(opened.handle, facts.right);
  EXPECT_EQ(holders.status, nt::STATUS_SUCCESS);
  EXPECT_FALSE(holders.sids.empty());
  EXPECT_EQ(policy.Close(opened.handle), nt::STATUS_SUCCESS);
  EXPECT_EQ(policy.Close(opened.handle), nt::STATUS_INVALID_HANDLE);
  EXPECT_EQ(policy.EnumerateAccountsWithUserRight(opened.handle, facts.right).status,
            nt::STATUS_INVALID_HANDLE);
  if (facts.checks_access) {
    const platform::LsaOpenResult weak =
        policy.OpenPolicy(facts.system, platform::kPolicyViewLocalInformation);
    ASSERT_EQ(weak.status, nt::STATUS_SUCCESS);
    EXPECT_EQ(policy.QueryAuditEvents(weak.handle, platform::kPolicyAuditEventsInformation).status,
              nt::STATUS_ACCESS_DENIED);
    EXPECT_EQ(policy.Close(weak.handle), nt::STATUS_SUCCESS);
  }
}

TYPED_TEST_P(LsaPolicyContract, PrivilegeNamesAreSizedByTheCaller) {
  CONTRACT_FAMILY(facts, serving, policy);
  platform::LsaPolicy& policy = this->session().policy();
  const platform::PrivilegeDisplayNameResult sizing =
      policy.LookupPrivilegeDisplayName(facts.system, "SeBackupPrivilege", 1);
  if (Refused(serving, sizing)) return;
  EXPECT_EQ(sizing.status, win::ERROR_INSUFFICIENT_BUFFER);
  ASSERT_GT(sizing.required_chars, 1u);
  EXPECT_EQ(
      policy
          .LookupPrivilegeDisplayName(facts.system, "SeBackupPrivilege", sizing.required_chars - 1)
          .status,
      win::ERROR_INSUFFICIENT_BUFFER);
  const platform::PrivilegeDisplayNameResult name =
      policy.LookupPrivilegeDisplayName(facts.system, "SeBackupPrivilege", sizing.required_chars);
  EXPECT_EQ(name.status, win::ERROR_SUCCESS);
  EXPECT_FALSE(name.display_name.empty());
  EXPECT_EQ(policy.LookupPrivilegeDisplayName(facts.system, "SeNetworkLogonRight", 256).status,
            win::ERROR_NO_SUCH_PRIVILEGE);
}

REGISTER_TYPED_TEST_SUITE_P(LsaPolicyContract, RightsThroughAHandleThatIsClosedOnce,
                            PrivilegeNamesAreSizedByTheCaller);
INSTANTIATE_TYPED_TEST_SUITE_P(Every, LsaPolicyContract, Backends);

}  // namespace
}  // namespace tabulon::testing::contract
