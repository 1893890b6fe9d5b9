// Users, account database settings and groups on NetAPI32: live where Wine
// answers from the prefix's own accounts, and the records it only stubs
// (group members) or may not fill (logon hours, SIDs, dial-in numbers)
// decoded from records made by hand, hostile ones included.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>

// Before <windows.h>, whose macros take the status names; the tests
// compare with those macros.
#include "platform/bounded_calls.h"
#include "platform/remote_access.h"

#include "platform/win32/account_records.h"
#include "platform/win32/remote_access.h"
#include "platform/win32/user_accounts.h"
#include "platform/win32/user_modals.h"
#include "platform/win32/wide.h"

namespace tabulon::platform {
namespace {

std::string CurrentUser() {
  wchar_t name[UNLEN + 1];
  DWORD size = UNLEN + 1;
  EXPECT_TRUE(::GetUserNameW(name, &size));
  return win32::ToUtf8(std::wstring_view(name, size - 1));
}

class Win32Accounts : public ::testing::Test {
 protected:
  BoundedCalls calls_{std::chrono::seconds(60), CancelToken{}};
  win32::Win32UserAccounts users_{calls_};
  win32::Win32UserModals modals_{calls_};
};

// Wine answers NetUserGetInfo for the current user at level 10 only (levels
// 2, 3 and 20 fail with NERR_InternalError), and NetUserModalsGet at level
// 2 only: the other levels are decoded from records below.
TEST_F(Win32Accounts, TheCurrentUserAndThisComputersDatabase) {
  const std::string me = CurrentUser();
  const UserInfoResult user = users_.NetUserGetInfo("", me, 10);
  ASSERT_EQ(user.status, ERROR_SUCCESS);
  EXPECT_EQ(user.info.name, me);
  EXPECT_EQ(users_.NetUserGetInfo("", me, 1).status, ERROR_INVALID_LEVEL);

  const DisplayUsersResult listed = users_.NetQueryDisplayUsers("", 0, 1000, kMaxPreferredLength);
  ASSERT_EQ(listed.status, ERROR_SUCCESS);
  EXPECT_TRUE(std::any_of(listed.entries.begin(), listed.entries.end(),
                          [&](const DisplayUser& u) { return u.name == me; }));

  const UserGroupsResult groups = users_.NetUserGetLocalGroups("", me, 0, 0);
  ASSERT_EQ(groups.status, ERROR_SUCCESS);
  EXPECT_FALSE(groups.groups.empty());
  EXPECT_EQ(groups.total_entries, groups.groups.size());

  const UserModals2Result domain = modals_.NetUserModalsGet2("");
  ASSERT_EQ(domain.status, ERROR_SUCCESS);
  EXPECT_FALSE(domain.domain_name.empty());
  EXPECT_EQ(domain.domain_id.authority, 5u);
  EXPECT_FALSE(domain.domain_id.sub_authorities.empty());
}

TEST(Win32AccountRecords, UsersAndModalsFieldsLandInTheirPlaces) {
  wchar_t name[] = L"anna", comment[] = L"c", full[] = L"Anna A", profile[] = L"\\\\p\\a";
  USER_INFO_3 level3{};
  level3.usri3_name = name;
  level3.usri3_comment = comment;
  level3.usri3_full_name = full;
  level3.usri3_flags = 0x10201;
  level3.usri3_last_logon = 1700000000;
  level3.usri3_acct_expires = TIMEQ_FOREVER;
  level3.usri3_user_id = 1001;
  level3.usri3_primary_group_id = 513;
  level3.usri3_profile = profile;
  level3.usri3_password_expired = 1;
  const UserInfo user = win32::UserInfoOf(level3);
  EXPECT_EQ(user.name, "anna");
  EXPECT_EQ(user.full_name, "Anna A");
  EXPECT_EQ(user.flags, 0x10201u);
  EXPECT_EQ(user.last_logon, 1700000000u);
  EXPECT_EQ(user.user_id, 1001u);
  EXPECT_EQ(user.profile, "\\\\p\\a");
  EXPECT_EQ(user.password_expired, 1u);
  EXPECT_EQ(user.logon_server, "");

  const UserInfo level20 = win32::UserInfoOf(USER_INFO_20{name, full, comment, 0x202, 1002});
  EXPECT_EQ(level20.full_name, "Anna A");
  EXPECT_EQ(level20.comment, "c");
  EXPECT_EQ(level20.flags, 0x202u);
  EXPECT_EQ(level20.user_id, 1002u);

  EXPECT_EQ(win32::ModalsOf(USER_MODALS_INFO_0{8, 3628800, 86400, TIMEQ_FOREVER, 24}),
            (UserModalsInfo0{8, 3628800, 86400, kTimeqForever, 24}));
  EXPECT_EQ(win32::ModalsOf(USER_MODALS_INFO_3{900, 600, 5}), (UserModalsInfo3{900, 600, 5}));
}

TEST(Win32AccountRecords, LogonHoursAreBoundedByTheWeekAndByOurBytes) {
  BYTE hours[64];
  for (std::size_t i = 0; i < sizeof hours; ++i) hours[i] = static_cast<BYTE>(i + 1);
  USER_INFO_3 record{};
  record.usri3_logon_hours = hours;
  const struct {
    DWORD units;
    std::size_t copied;
  } cases[] = {{168, 21}, {0xFFFF, 21}, {24, 3}, {0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.units);
    record.usri3_units_per_week = c.units;
    const UserInfo user = win32::UserInfoOf(record);
    for (std::size_t i = 0; i < kLogonHoursBytes; ++i) {
      EXPECT_EQ(user.logon_hours[i], i < c.copied ? hours[i] : 0);
    }
  }
  record.usri3_logon_hours = nullptr;
  EXPECT_EQ(win32::UserInfoOf(record).logon_hours, AllLogonHours());
}

TEST(Win32AccountRecords, MembersKeepTheirSidOnlyWhenItIsValid) {
  // S-1-5-21-1-2-3 as the API lays it out.
  BYTE sid[] = {1, 4, 0, 0, 0, 0, 0, 5, 21, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0};
  wchar_t name[] = L"HOST\\Administrator";
  LOCALGROUP_MEMBERS_INFO_2 record{sid, SidTypeUser, name};
  LocalGroupMembersInfo2 member = win32::MemberOf(record);
  EXPECT_EQ(member.sid.ToString(), "S-1-5-21-1-2-3");
  EXPECT_EQ(member.sid_usage, SidNameUse::kUser);
  EXPECT_EQ(member.domain_and_name, "HOST\\Administrator");

  BYTE too_many[8 + 4 * 16] = {1, 16, 0, 0, 0, 0, 0, 5};
  for (PSID bad : {PSID{nullptr}, PSID{too_many}}) {
    record.lgrmi2_sid = bad;
    record.lgrmi2_sidusage = SidTypeDeletedAccount;
    member = win32::MemberOf(record);
    EXPECT_TRUE(member.sid.sub_authorities.empty());
    EXPECT_EQ(member.sid_usage, SidNameUse::kDeletedAccount);
  }
}

TEST(Win32AccountRecords, ADialInNumberIsReadToItsTerminatorOrItsLimit) {
  wchar_t unterminated[129];
  std::fill(std::begin(unterminated), std::end(unterminated), L'5');
  EXPECT_EQ(win32::RasUserOf(0x9, unterminated, 129).phone_number,
            std::string(kMaxPhoneNumberLength, '5'));
  EXPECT_EQ(win32::RasUserOf(0x9, unterminated, 3).phone_number, "555");
  const RasUser0 user = win32::RasUserOf(0x9, L"+49 30 1234", 49);
  EXPECT_EQ(user, (RasUser0{kRasPrivDialinPrivilege | kRasPrivNoCallback, "+49 30 1234"}));
}

}  // namespace
}  // namespace tabulon::platform
