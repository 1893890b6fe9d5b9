#include "platform/remote/samr_user_info.h"

#include <algorithm>
#include <limits>

#include "platform/remote/samr_codec.h"

namespace tabulon::platform::remote {
namespace {

constexpr FileTime kNeverExpires = std::numeric_limits<FileTime>::max();
constexpr std::string_view kAnyLogonServer = "\\\\*";

// DOMAIN_ALIAS_RID_* of the built-in domain, and the AF_OP_* bits the
// operator aliases give.
constexpr std::uint32_t kAdminsRid = 544;
constexpr std::uint32_t kUsersRid = 545;
struct OperatorAlias {
  std::uint32_t rid;
  std::uint32_t auth_flag;
};
constexpr OperatorAlias kOperatorAliases[] = {
    {550, 0x1},  // print operators: AF_OP_PRINT
    {549, 0x4},  // server operators: AF_OP_SERVER
    {548, 0x8},  // account operators: AF_OP_ACCOUNTS
};

// Seconds since 1970 of a time after it that fits; 0 otherwise, which the
// calls report for never and for what they cannot convert.
std::uint32_t SecondsSince1970(FileTime time) {
  if (time < kFileTimeUnixEpoch) return 0;
  const FileTime seconds = (time - kFileTimeUnixEpoch) / kFileTimeTicksPerSecond;
  return seconds > std::numeric_limits<std::uint32_t>::max() ? 0
                                                             : static_cast<std::uint32_t>(seconds);
}

std::uint32_t ExpirySeconds(FileTime time) {
  if (time == 0 || time == kNeverExpires) return kTimeqForever;
  const std::uint32_t seconds = SecondsSince1970(time);
  return seconds == 0 ? kTimeqForever : seconds;
}

}  // namespace

UserInfo UserInfoOf(const samr::UserAllInformation& all, FileTime now) {
  UserInfo info;
  info.name = all.user_name;
  const std::uint32_t set = SecondsSince1970(all.password_last_set);
  const std::uint32_t current = SecondsSince1970(now);
  info.password_age = set != 0 && current > set ? current - set : 0;
  info.home_dir = all.home_directory;
  info.comment = all.admin_comment;
  info.flags = samr::AccountFlagsOf(all.user_account_control);
  info.script_path = all.script_path;
  info.full_name = all.full_name;
  info.usr_comment = all.user_comment;
  info.parms = all.parameters;
  info.workstations = all.workstations;
  info.last_logon = SecondsSince1970(all.last_logon);
  info.last_logoff = SecondsSince1970(all.last_logoff);
  info.acct_expires = ExpirySeconds(all.account_expires);
  info.units_per_week = all.logon_hours.units_per_week;
  // No hours at all is no restriction.
  if (!all.logon_hours.bits.empty()) {
    info.logon_hours.fill(0);
    std::copy_n(all.logon_hours.bits.begin(),
                std::min(all.logon_hours.bits.size(), info.logon_hours.size()),
                info.logon_hours.begin());
  } else {
    info.units_per_week = kUnitsPerWeekHours;
  }
  info.bad_pw_count = all.bad_password_count;
  info.num_logons = all.logon_count;
  info.logon_server = kAnyLogonServer;
  info.country_code = all.country_code;
  info.code_page = all.code_page;
  info.user_id = all.user_id;
  info.primary_group_id = all.primary_group_id;
  info.profile = all.profile_path;
  info.home_dir_drive = all.home_directory_drive;
  info.password_expired = all.password_expired ? 1 : 0;
  return info;
}

void SetPrivilegeOf(std::span<const std::uint32_t> builtin_alias_rids, UserInfo& info) {
  const auto holds = [&](std::uint32_t rid) {
    return std::find(builtin_alias_rids.begin(), builtin_alias_rids.end(), rid) !=
           builtin_alias_rids.end();
  };
  info.priv = holds(kAdminsRid)  ? kUserPrivAdmin
              : holds(kUsersRid) ? kUserPrivUser
                                 : kUserPrivGuest;
  info.auth_flags = 0;
  for (const OperatorAlias& alias : kOperatorAliases) {
    if (holds(alias.rid)) info.auth_flags |= alias.auth_flag;
  }
}

}  // namespace tabulon::platform::remote
