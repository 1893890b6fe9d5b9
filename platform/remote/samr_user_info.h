#pragma once
// USER_INFO_3 of what the account database keeps about an account, as the
// network management calls convert it: times as seconds since 1970 (0 for
// never, TIMEQ_FOREVER for an expiry that never comes), flags from the
// account control bits, and the privilege level and operator rights from
// the built-in aliases the account belongs to.
#include <cstdint>
#include <span>

#include "platform/remote/samr_user_codec.h"
#include "platform/user_accounts.h"

namespace tabulon::platform::remote {

// `now` gives the password's age. The privilege level stays USER_PRIV_USER
// until SetPrivilegeOf is called.
UserInfo UserInfoOf(const samr::UserAllInformation& all, FileTime now);

// Sets the privilege level and AF_OP_* flags from the RIDs of the built-in
// aliases the account (or any of its groups) belongs to.
void SetPrivilegeOf(std::span<const std::uint32_t> builtin_alias_rids, UserInfo& info);

}  // namespace tabulon::platform::remote
