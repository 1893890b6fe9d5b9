// What NetUserGetInfo makes of the account database's record of a user:
// time conversions at their edges, logon hours, and the privilege level
// from built-in aliases.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "platform/remote/samr_user_info.h"

namespace tabulon::platform::remote {
namespace {

constexpr FileTime kSecond = kFileTimeTicksPerSecond;
constexpr FileTime k2001 = kFileTimeUnixEpoch + 978307200LL * kSecond;

TEST(SamrUserInfo, TimesAsTheNetworkCallsReportThem) {
  struct Case {
    const char* name;
    FileTime time;
    std::uint32_t seconds;  // last logon
    std::uint32_t expiry;   // the same time as the account's expiry
  };
  const Case cases[] = {
      {"never", 0, 0, kTimeqForever},
      {"largest value", std::numeric_limits<FileTime>::max(), 0, kTimeqForever},
      {"before 1970", kFileTimeUnixEpoch - kSecond, 0, kTimeqForever},
      {"2001, fractions dropped", k2001 + kSecond / 2, 978307200, 978307200},
      {"past 2106", kFileTimeUnixEpoch + (1LL << 32) * kSecond, 0, kTimeqForever},
  };
  for (const Case& c : cases) {
    samr::UserAllInformation all;
    all.last_logon = c.time;
    all.account_expires = c.time;
    const UserInfo info = UserInfoOf(all, k2001);
    EXPECT_EQ(info.last_logon, c.seconds) << c.name;
    EXPECT_EQ(info.acct_expires, c.expiry) << c.name;
  }
}

TEST(SamrUserInfo, PasswordAgeFlagsAndLogonHours) {
  samr::UserAllInformation all;
  all.user_name = "alice";
  all.password_last_set = k2001;
  all.user_account_control = 0x0010 | 0x0200;  // normal account, no expiry
  all.logon_hours.units_per_week = 168;
  all.logon_hours.bits.assign(21, 0);
  all.logon_hours.bits[1] = 0x81;
  all.password_expired = true;
  const UserInfo info = UserInfoOf(all, k2001 + 3 * 86400 * kSecond);
  EXPECT_EQ(info.password_age, 3u * 86400);
  EXPECT_EQ(info.flags, 0x0001u | 0x0200u | 0x10000u);  // UF_SCRIPT always
  EXPECT_EQ(info.logon_hours[0], 0);
  EXPECT_EQ(info.logon_hours[1], 0x81);
  EXPECT_EQ(info.password_expired, 1u);
  EXPECT_EQ(info.logon_server, "\\\\*");

  // A password never set has no age; no hours at all restrict nothing.
  samr::UserAllInformation unset;
  const UserInfo fresh = UserInfoOf(unset, k2001);
  EXPECT_EQ(fresh.password_age, 0u);
  EXPECT_EQ(fresh.units_per_week, kUnitsPerWeekHours);
  EXPECT_EQ(fresh.logon_hours, AllLogonHours());
}

TEST(SamrUserInfo, PrivilegeFromBuiltinAliases) {
  struct Case {
    std::vector<std::uint32_t> aliases;
    std::uint32_t priv;
    std::uint32_t auth_flags;
  };
  const Case cases[] = {
      {{}, kUserPrivGuest, 0},
      {{546}, kUserPrivGuest, 0},
      {{545}, kUserPrivUser, 0},
      {{545, 544}, kUserPrivAdmin, 0},
      {{545, 548, 550, 549}, kUserPrivUser, 0x1 | 0x4 | 0x8},
  };
  for (const Case& c : cases) {
    UserInfo info;
    SetPrivilegeOf(c.aliases, info);
    EXPECT_EQ(info.priv, c.priv) << testing::PrintToString(c.aliases);
    EXPECT_EQ(info.auth_flags, c.auth_flags) << testing::PrintToString(c.aliases);
  }
}

}  // namespace
}  // namespace tabulon::platform::remote
