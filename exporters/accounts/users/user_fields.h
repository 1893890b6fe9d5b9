#pragma once
// Value texts of the users file that come from tables: privilege levels,
// the logon-hours string, the dial-in columns and the terminal-server user
// configuration fields.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/remote_access.h"
#include "platform/terminal_services.h"
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

// A terminal-server user field: its key, the WTS_CONFIG_CLASS it asks for
// and whether the answer is text. The table is also the lookup of directory
// attributes named like its keys.
struct TseUserField {
  std::string_view key;
  std::uint32_t config_class;
  bool text;
};
std::span<const TseUserField> TseUserFields();
// Exact comparison; null for a key not in the table.
const TseUserField* FindTseUserField(std::string_view key);
// A text class as returned; a number in whole minutes when it is 60000
// (one minute in milliseconds) or more, else unchanged, as "%d".
std::string TseUserValue(const TseUserField& field, const platform::UserConfigResult& answer);

}  // namespace tabulon
