#include "exporters/accounts/users/user_fields.h"

#include <array>

#include "format/account_texts.h"
#include "format/special_values.h"

namespace tabulon {
namespace {

struct CallbackSetting {
  std::uint8_t bit;
  std::string_view text;
};

// Tested in this order, which is not the order of the bits; the first set
// bit names the setting.
constexpr std::array kCallbackSettings{
    CallbackSetting{platform::kRasPrivNoCallback, "NO_CALLBACK"},
    CallbackSetting{platform::kRasPrivCallerSetCallback, "SET_BY_CALLER"},
    CallbackSetting{platform::kRasPrivAdminSetCallback, "SET_BY_ADMIN"},
};

}  // namespace

std::string_view PrivilegeText(std::uint32_t priv) {
  switch (priv) {
    case platform::kUserPrivGuest:
      return "GUEST";
    case platform::kUserPrivUser:
      return "USER";
    case platform::kUserPrivAdmin:
      return "ADMIN";
    default:
      return {};
  }
}

std::string LogonHoursText(const platform::UserInfo& info) {
  if (info.units_per_week != platform::kUnitsPerWeekHours) return "UNABLE TO DETERMINE";
  return format::LogonHoursBits(info.logon_hours);
}

DialInTexts DialInValues(const platform::RasUser0& user) {
  DialInTexts texts;
  texts.allowed =
      (user.privilege & platform::kRasPrivDialinPrivilege) != 0 ? format::kYes : format::kNo;
  for (const CallbackSetting& s : kCallbackSettings) {
    if ((user.privilege & s.bit) == 0) continue;
    texts.setting = s.text;
    if (s.bit == platform::kRasPrivAdminSetCallback) texts.callback = user.phone_number;
    break;
  }
  return texts;
}

}  // namespace tabulon
