#pragma once
// The account database records of NetAPI32 (users, groups, modals) as our
// value structs, one function per record so that a test can hand in
// records made as the API makes them. Strings are read to a bound; a NULL
// string is empty; a password is never read.
#include <optional>
#include <string>

// Before <windows.h>, whose macros take the status names.
#include "platform/groups.h"
#include "platform/user_accounts.h"
#include "platform/user_modals.h"

#include <windows.h>

#include <lm.h>

namespace tabulon::platform::win32 {

UserInfo UserInfoOf(const USER_INFO_2& info);
UserInfo UserInfoOf(const USER_INFO_3& info);
UserInfo UserInfoOf(const USER_INFO_10& info);
UserInfo UserInfoOf(const USER_INFO_20& info);
DisplayUser DisplayUserOf(const NET_DISPLAY_USER& info);

LocalGroupInfo1 LocalGroupInfoOf(const LOCALGROUP_INFO_1& info);
GroupInfo1 GroupInfoOf(const GROUP_INFO_1& info);
// A member whose SID is not valid keeps an empty SID and the usage given.
LocalGroupMembersInfo2 MemberOf(const LOCALGROUP_MEMBERS_INFO_2& info);

UserModalsInfo0 ModalsOf(const USER_MODALS_INFO_0& info);
UserModalsInfo3 ModalsOf(const USER_MODALS_INFO_3& info);

}  // namespace tabulon::platform::win32
