#include "exporters/toolkit/terminal_user_fields.h"

#include <array>

namespace tabulon {
namespace {

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
