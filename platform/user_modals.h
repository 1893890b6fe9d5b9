#pragma once
// The password and lockout settings of a computer's account database, after
// NetUserModalsGet levels 0 and 3. Times are seconds; the "never" values are
// TIMEQ_FOREVER.
#include <cstdint>
#include <string_view>

#include "platform/status.h"

namespace tabulon::platform {

// TIMEQ_FOREVER.
inline constexpr std::uint32_t kModalsForever = 0xFFFFFFFF;

// USER_MODALS_INFO_0.
struct UserModalsInfo0 {
  std::uint32_t min_passwd_len = 0;
  std::uint32_t max_passwd_age = 42 * 86400;
  std::uint32_t min_passwd_age = 0;
  std::uint32_t force_logoff = kModalsForever;
  std::uint32_t password_hist_len = 0;
  bool operator==(const UserModalsInfo0&) const = default;
};

// USER_MODALS_INFO_3.
struct UserModalsInfo3 {
  std::uint32_t lockout_duration = 1800;
  std::uint32_t lockout_observation_window = 1800;
  std::uint32_t lockout_threshold = 0;
  bool operator==(const UserModalsInfo3&) const = default;
};

struct UserModals0Result {
  win::Status status = win::ERROR_SUCCESS;
  UserModalsInfo0 info;
};

struct UserModals3Result {
  win::Status status = win::ERROR_SUCCESS;
  UserModalsInfo3 info;
};

class UserModals {
 public:
  virtual ~UserModals() = default;
  // NetUserModalsGet on `server` ("\\NAME"; empty: this computer), one
  // level each.
  virtual UserModals0Result NetUserModalsGet0(std::string_view server) = 0;
  virtual UserModals3Result NetUserModalsGet3(std::string_view server) = 0;
};

}  // namespace tabulon::platform
