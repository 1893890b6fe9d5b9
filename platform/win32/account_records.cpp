#include "platform/win32/account_records.h"

#include "platform/win32/native_sid.h"

#include <algorithm>

#include "platform/win32/net_buffer.h"

namespace tabulon::platform::win32 {
namespace {

// The bits the week's units fill, never more than our 21 bytes hold; NULL
// leaves every hour allowed.
void CopyLogonHours(const BYTE* hours, UserInfo& user) {
  if (hours == nullptr) return;
  const std::size_t bytes =
      std::min<std::size_t>((std::size_t{user.units_per_week} + 7) / 8, kLogonHoursBytes);
  user.logon_hours.fill(0);
  std::copy_n(hours, bytes, user.logon_hours.begin());
}

}  // namespace

UserInfo UserInfoOf(const USER_INFO_2& info) {
  UserInfo user;
  user.name = NetText(info.usri2_name);
  user.password_age = info.usri2_password_age;
  user.priv = info.usri2_priv;
  user.home_dir = NetText(info.usri2_home_dir);
  user.comment = NetText(info.usri2_comment);
  user.flags = info.usri2_flags;
  user.script_path = NetText(info.usri2_script_path);
  user.auth_flags = info.usri2_auth_flags;
  user.full_name = NetText(info.usri2_full_name);
  user.usr_comment = NetText(info.usri2_usr_comment);
  user.parms = NetText(info.usri2_parms);
  user.workstations = NetText(info.usri2_workstations);
  user.last_logon = info.usri2_last_logon;
  user.last_logoff = info.usri2_last_logoff;
  user.acct_expires = info.usri2_acct_expires;
  user.max_storage = info.usri2_max_storage;
  user.units_per_week = info.usri2_units_per_week;
  CopyLogonHours(info.usri2_logon_hours, user);
  user.bad_pw_count = info.usri2_bad_pw_count;
  user.num_logons = info.usri2_num_logons;
  user.logon_server = NetText(info.usri2_logon_server);
  user.country_code = info.usri2_country_code;
  user.code_page = info.usri2_code_page;
  return user;
}

UserInfo UserInfoOf(const USER_INFO_3& info) {
  UserInfo user;
  user.name = NetText(info.usri3_name);
  user.password_age = info.usri3_password_age;
  user.priv = info.usri3_priv;
  user.home_dir = NetText(info.usri3_home_dir);
  user.comment = NetText(info.usri3_comment);
  user.flags = info.usri3_flags;
  user.script_path = NetText(info.usri3_script_path);
  user.auth_flags = info.usri3_auth_flags;
  user.full_name = NetText(info.usri3_full_name);
  user.usr_comment = NetText(info.usri3_usr_comment);
  user.parms = NetText(info.usri3_parms);
  user.workstations = NetText(info.usri3_workstations);
  user.last_logon = info.usri3_last_logon;
  user.last_logoff = info.usri3_last_logoff;
  user.acct_expires = info.usri3_acct_expires;
  user.max_storage = info.usri3_max_storage;
  user.units_per_week = info.usri3_units_per_week;
  CopyLogonHours(info.usri3_logon_hours, user);
  user.bad_pw_count = info.usri3_bad_pw_count;
  user.num_logons = info.usri3_num_logons;
  user.logon_server = NetText(info.usri3_logon_server);
  user.country_code = info.usri3_country_code;
  user.code_page = info.usri3_code_page;
  user.user_id = info.usri3_user_id;
  user.primary_group_id = info.usri3_primary_group_id;
  user.profile = NetText(info.usri3_profile);
  user.home_dir_drive = NetText(info.usri3_home_dir_drive);
  user.password_expired = info.usri3_password_expired;
  return user;
}

UserInfo UserInfoOf(const USER_INFO_10& info) {
  UserInfo user;
  user.name = NetText(info.usri10_name);
  user.comment = NetText(info.usri10_comment);
  user.usr_comment = NetText(info.usri10_usr_comment);
  user.full_name = NetText(info.usri10_full_name);
  return user;
}

UserInfo UserInfoOf(const USER_INFO_20& info) {
  UserInfo user;
  user.name = NetText(info.usri20_name);
  user.full_name = NetText(info.usri20_full_name);
  user.comment = NetText(info.usri20_comment);
  user.flags = info.usri20_flags;
  user.user_id = info.usri20_user_id;
  return user;
}

DisplayUser DisplayUserOf(const NET_DISPLAY_USER& info) {
  return {NetText(info.usri1_name),      NetText(info.usri1_comment), info.usri1_flags,
          NetText(info.usri1_full_name), info.usri1_user_id,          info.usri1_next_index};
}

LocalGroupInfo1 LocalGroupInfoOf(const LOCALGROUP_INFO_1& info) {
  return {NetText(info.lgrpi1_name), NetText(info.lgrpi1_comment)};
}

GroupInfo1 GroupInfoOf(const GROUP_INFO_1& info) {
  return {NetText(info.grpi1_name), NetText(info.grpi1_comment)};
}

LocalGroupMembersInfo2 MemberOf(const LOCALGROUP_MEMBERS_INFO_2& info) {
  LocalGroupMembersInfo2 member;
  member.sid = SidOf(info.lgrmi2_sid).value_or(Sid{});
  member.sid_usage = static_cast<SidNameUse>(info.lgrmi2_sidusage);
  member.domain_and_name = NetText(info.lgrmi2_domainandname);
  return member;
}

UserModalsInfo0 ModalsOf(const USER_MODALS_INFO_0& info) {
  return {info.usrmod0_min_passwd_len, info.usrmod0_max_passwd_age, info.usrmod0_min_passwd_age,
          info.usrmod0_force_logoff, info.usrmod0_password_hist_len};
}

UserModalsInfo3 ModalsOf(const USER_MODALS_INFO_3& info) {
  return {info.usrmod3_lockout_duration, info.usrmod3_lockout_observation_window,
          info.usrmod3_lockout_threshold};
}

}  // namespace tabulon::platform::win32
