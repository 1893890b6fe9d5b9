#pragma once
// The settings of a computer's or domain's account database, after
// NetUserModalsGet: password rules (level 0), the database's domain name and
// SID (level 2) and lockout (level 3). Times are seconds; the "never" values
// are TIMEQ_FOREVER.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/security.h"
#include "platform/status.h"

namespace tabulon::platform {

// TIMEQ_FOREVER: an interval or expiry that never comes.
inline constexpr std::uint32_t kTimeqForever = 0xFFFFFFFF;

// USER_MODALS_INFO_0.
struct UserModalsInfo0 {
  std::uint32_t min_passwd_len = 0;
  std::uint32_t max_passwd_age = 42 * 86400;
  std::uint32_t min_passwd_age = 0;
  std::uint32_t force_logoff = kTimeqForever;
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

// USER_MODALS_INFO_2.
struct UserModals2Result {
  win::Status status = win::ERROR_SUCCESS;
  std::string domain_name;
  Sid domain_id;
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
  virtual UserModals2Result NetUserModalsGet2(std::string_view server) = 0;
  virtual UserModals3Result NetUserModalsGet3(std::string_view server) = 0;
};

}  // namespace tabulon::platform
