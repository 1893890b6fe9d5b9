#include "platform/win32/user_accounts.h"

#include <algorithm>
#include <string>

#include "platform/user_info_levels.h"
#include "platform/win32/account_records.h"
#include "platform/win32/net_buffer.h"

namespace tabulon::platform::win32 {
namespace {

// NetQueryDisplayInformation returns at most this many entries a call.
constexpr std::uint32_t kMaxDisplayEntries = 100;

// The one record of a NetUserGetInfo buffer at `level`, if the buffer holds
// it.
template <typename Record>
bool TakeUser(const NetBuffer& buffer, UserInfo& user) {
  const auto records = RecordsIn<Record>(buffer, 1);
  if (records.empty()) return false;
  user = UserInfoOf(records[0]);
  return true;
}

// The names of a group-membership buffer (both record types hold only a
// name pointer).
template <typename Record, typename Name>
void TakeNames(UserGroupsResult& result, const NetBuffer& buffer, DWORD read, DWORD total,
               Name name) {
  if (!TakeRecords<Record>(result.groups, buffer, read,
                           [&](const Record& r) { return NetText(name(r)); })) {
    result.status = ERROR_INVALID_DATA;
    return;
  }
  result.total_entries = total;
}

}  // namespace

DisplayUsersResult Win32UserAccounts::NetQueryDisplayUsers(std::string_view server,
                                                           std::uint32_t index,
                                                           std::uint32_t entries_requested,
                                                           std::uint32_t preferred_max_length) {
  return calls_.Run<DisplayUsersResult>([server = std::string(server), index, entries_requested,
                                         preferred_max_length] {
    NetName name(server);
    NetBuffer buffer;
    DWORD read = 0;
    DisplayUsersResult result;
    result.status = ::NetQueryDisplayInformation(name.get(), 1, index,
                                                 std::min(entries_requested, kMaxDisplayEntries),
                                                 preferred_max_length, &read, buffer.out());
    if (result.status != NERR_Success && result.status != ERROR_MORE_DATA) return result;
    if (!TakeRecords<NET_DISPLAY_USER>(result.entries, buffer, read, [](const NET_DISPLAY_USER& r) {
          return DisplayUserOf(r);
        })) {
      result.status = ERROR_INVALID_DATA;
    }
    return result;
  });
}

UserInfoResult Win32UserAccounts::NetUserGetInfo(std::string_view server, std::string_view user,
                                                 std::uint32_t level) {
  if (!IsUserInfoLevel(level)) return {ERROR_INVALID_LEVEL, {}};
  return calls_.Run<UserInfoResult>(
      [server = std::string(server), user = std::string(user), level] {
        NetName name(server);
        NetName account(user);
        NetBuffer buffer;
        UserInfoResult result;
        result.status = ::NetUserGetInfo(name.get(), account.get(), level, buffer.bytes_out());
        if (result.status != NERR_Success) return result;
        const bool held = level == 2    ? TakeUser<USER_INFO_2>(buffer, result.info)
                          : level == 3  ? TakeUser<USER_INFO_3>(buffer, result.info)
                          : level == 10 ? TakeUser<USER_INFO_10>(buffer, result.info)
                                        : TakeUser<USER_INFO_20>(buffer, result.info);
        if (!held) {
          result.status = ERROR_INVALID_DATA;
          result.info = {};
        }
        result.info = UserInfoAtLevel(result.info, level);
        return result;
      });
}

UserGroupsResult Win32UserAccounts::NetUserGetLocalGroups(std::string_view server,
                                                          std::string_view user,
                                                          std::uint32_t level,
                                                          std::uint32_t flags) {
  if (level != 0) return {ERROR_INVALID_LEVEL, {}, 0};
  return calls_.Run<UserGroupsResult>([server = std::string(server), user = std::string(user),
                                       flags] {
    NetName name(server);
    NetName account(user);
    NetBuffer buffer;
    DWORD read = 0, total = 0;
    UserGroupsResult result;
    result.status = ::NetUserGetLocalGroups(name.get(), account.get(), 0, flags, buffer.bytes_out(),
                                            MAX_PREFERRED_LENGTH, &read, &total);
    if (result.status != NERR_Success && result.status != ERROR_MORE_DATA) return result;
    TakeNames<LOCALGROUP_USERS_INFO_0>(
        result, buffer, read, total,
        [](const LOCALGROUP_USERS_INFO_0& r) { return r.lgrui0_name; });
    return result;
  });
}

UserGroupsResult Win32UserAccounts::NetUserGetGroups(std::string_view server, std::string_view user,
                                                     std::uint32_t level) {
  if (level != 0) return {ERROR_INVALID_LEVEL, {}, 0};
  return calls_.Run<UserGroupsResult>([server = std::string(server), user = std::string(user)] {
    NetName name(server);
    NetName account(user);
    NetBuffer buffer;
    DWORD read = 0, total = 0;
    UserGroupsResult result;
    result.status = ::NetUserGetGroups(name.get(), account.get(), 0, buffer.bytes_out(),
                                       MAX_PREFERRED_LENGTH, &read, &total);
    if (result.status != NERR_Success && result.status != ERROR_MORE_DATA) return result;
    TakeNames<GROUP_USERS_INFO_0>(result, buffer, read, total,
                                  [](const GROUP_USERS_INFO_0& r) { return r.grui0_name; });
    return result;
  });
}

}  // namespace tabulon::platform::win32
