#pragma once
// The user accounts of a computer's or domain's account database (SAM), after
// the NetAPI32 user functions: display lists, USER_INFO levels 2, 3, 10 and
// 20, and the groups of a user. Records come back as values instead of
// buffers to free.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"
#include "platform/user_modals.h"

namespace tabulon::platform {

// USER_PRIV_*.
inline constexpr std::uint32_t kUserPrivGuest = 0;
inline constexpr std::uint32_t kUserPrivUser = 1;
inline constexpr std::uint32_t kUserPrivAdmin = 2;

// UF_* bits of an account that are not machine-account bits.
inline constexpr std::uint32_t kUfNormalAccount = 0x0200;
inline constexpr std::uint32_t kUfDontExpirePasswd = 0x10000;

// usri3_units_per_week of hourly logon hours, and the bytes they fill.
inline constexpr std::uint32_t kUnitsPerWeekHours = 168;
inline constexpr std::size_t kLogonHoursBytes = 21;
// Logon hours that allow every hour of the week.
inline constexpr std::array<std::uint8_t, kLogonHoursBytes> AllLogonHours() {
  std::array<std::uint8_t, kLogonHoursBytes> hours{};
  for (auto& byte : hours) byte = 0xFF;
  return hours;
}
// USER_INFO_3. Level 2 leaves user_id, primary_group_id, profile,
// home_dir_drive and password_expired at their defaults; level 10 fills only
// name, comment, usr_comment and full_name; level 20 only name, full_name,
// comment, flags and user_id.
struct UserInfo {
  std::string name;
  std::string password;            // always empty: Windows never returns it
  std::uint32_t password_age = 0;  // seconds
  std::uint32_t priv = kUserPrivUser;
  std::string home_dir;
  std::string comment;
  std::uint32_t flags = kUfNormalAccount;
  std::string script_path;
  std::uint32_t auth_flags = 0;
  std::string full_name;
  std::string usr_comment;
  std::string parms;
  std::string workstations;                    // comma-separated
  std::uint32_t last_logon = 0;                // seconds since 1970, UTC; 0 is never
  std::uint32_t last_logoff = 0;               // likewise
  std::uint32_t acct_expires = kTimeqForever;  // never
  std::uint32_t max_storage = 0xFFFFFFFF;
  std::uint32_t units_per_week = kUnitsPerWeekHours;
  // Bit n (byte n / 8, from its lowest bit): hour n of the week, from
  // Sunday 00:00 UTC.
  std::array<std::uint8_t, kLogonHoursBytes> logon_hours = AllLogonHours();
  std::uint32_t bad_pw_count = 0;
  std::uint32_t num_logons = 0;
  std::string logon_server = "\\\\*";
  std::uint32_t country_code = 0;
  std::uint32_t code_page = 0;
  std::uint32_t user_id = 0;  // the RID
  std::uint32_t primary_group_id = 513;
  std::string profile;
  std::string home_dir_drive;
  std::uint32_t password_expired = 0;
};

struct UserInfoResult {
  win::Status status = win::ERROR_SUCCESS;
  UserInfo info;
};

// NET_DISPLAY_USER (level 1 of NetQueryDisplayInformation).
struct DisplayUser {
  std::string name;
  std::string comment;
  std::uint32_t flags = 0;
  std::string full_name;
  std::uint32_t user_id = 0;
  std::uint32_t next_index = 0;
};

struct DisplayUsersResult {
  win::Status status = win::ERROR_SUCCESS;  // or ERROR_MORE_DATA
  std::vector<DisplayUser> entries;
};

// LOCALGROUP_USERS_INFO_0 or GROUP_USERS_INFO_0 names.
struct UserGroupsResult {
  win::Status status = win::ERROR_SUCCESS;
  std::vector<std::string> groups;
  std::uint32_t total_entries = 0;
};

// Levels other than the ones named give ERROR_INVALID_LEVEL; an account the
// database does not hold gives NERR_UserNotFound.
class UserAccounts {
 public:
  virtual ~UserAccounts() = default;
  // NetQueryDisplayInformation level 1 from `index`, sorted by name; at most
  // 100 entries per call whatever is asked for.
  virtual DisplayUsersResult NetQueryDisplayUsers(std::string_view server, std::uint32_t index,
                                                  std::uint32_t entries_requested,
                                                  std::uint32_t preferred_max_length) = 0;
  // NetUserGetInfo level 2, 3, 10 or 20.
  virtual UserInfoResult NetUserGetInfo(std::string_view server, std::string_view user,
                                        std::uint32_t level) = 0;
  // NetUserGetLocalGroups level 0; `flags` LG_INCLUDE_INDIRECT (1) or 0.
  virtual UserGroupsResult NetUserGetLocalGroups(std::string_view server, std::string_view user,
                                                 std::uint32_t level, std::uint32_t flags) = 0;
  // NetUserGetGroups level 0: the global groups, "None" included.
  virtual UserGroupsResult NetUserGetGroups(std::string_view server, std::string_view user,
                                            std::uint32_t level) = 0;
};

}  // namespace tabulon::platform
