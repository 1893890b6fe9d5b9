#pragma once
// Value texts of the users file that come from tables: privilege levels,
// the logon-hours string and the dial-in columns (the terminal-server user
// fields are in exporters/toolkit/terminal_user_fields.h).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "exporters/toolkit/terminal_user_fields.h"
#include "platform/remote_access.h"
#include "platform/user_accounts.h"

namespace tabulon {

// "GUEST", "USER", "ADMIN"; empty for any other level.
std::string_view PrivilegeText(std::uint32_t priv);
// One "1" or "0" per hour of the week for hourly logon hours, else
// "UNABLE TO DETERMINE".
std::string LogonHoursText(const platform::UserInfo& info);

// RAS_Allowed, RAS_Setting and RAS_Callback of an account's RAS_USER_0.
struct DialInTexts {
  std::string allowed;   // "YES" or "NO"
  std::string setting;   // the callback setting; empty with none of its bits
  std::string callback;  // the number, only when the administrator set it
};
DialInTexts DialInValues(const platform::RasUser0& user);

}  // namespace tabulon
