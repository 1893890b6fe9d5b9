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

constexpr std::array kTseFields{
    TseUserField{"tse_initial_program", 0, true},
    TseUserField{"tse_work_dir", 1, true},
    TseUserField{"tse_inherit_program", 2, false},
    TseUserField{"tse_allow_logon", 3, false},
    TseUserField{"tse_connection_xout", 4, false},
    TseUserField{"tse_disconnection_xout", 5, false},
    TseUserField{"tse_idle_xout", 6, false},
    TseUserField{"tse_connect_drives", 7, false},
    TseUserField{"tse_connect_printers", 8, false},
    TseUserField{"tse_default_printers", 9, false},
    TseUserField{"tse_broken_xout", 10, false},
    TseUserField{"tse_reconnect", 11, false},
    TseUserField{"tse_callback", 12, false},
    TseUserField{"tse_callback_phone", 13, true},
    TseUserField{"tse_shadow", 14, false},
    TseUserField{"tse_profile", 15, true},
    TseUserField{"tse_home_dir", 16, true},
    TseUserField{"tse_home_dir_drive", 17, true},
    TseUserField{"tse_home_dir_flag", 18, false},
};
static_assert(kTseFields.size() == platform::kWtsUserConfigClassCount);

constexpr std::uint32_t kMillisecondsPerMinute = 60000;

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

std::span<const TseUserField> TseUserFields() {
  return kTseFields;
}

const TseUserField* FindTseUserField(std::string_view key) {
  for (const TseUserField& field : kTseFields) {
    if (field.key == key) return &field;
  }
  return nullptr;
}

std::string TseUserValue(const TseUserField& field, const platform::UserConfigResult& answer) {
  if (field.text) return answer.text;
  std::uint32_t value = answer.number;
  if (value >= kMillisecondsPerMinute) value /= kMillisecondsPerMinute;
  return std::to_string(static_cast<std::int32_t>(value));
}

}  // namespace tabulon
