#pragma once
// The policy a domain of the account database keeps for its accounts
// (SamrQueryInformationDomain2): password rules, forced logoff and lockout,
// what the user modals levels 0 and 3 report. Intervals are negative counts
// of 100 ns, as the server keeps them; NetSecondsOfInterval gives the
// seconds the network management calls report. Statuses as in samr_codec.h.
#include <cstdint>
#include <span>
#include <vector>

#include "platform/remote/account_codec_support.h"
#include "platform/user_modals.h"

namespace tabulon::platform::remote::samr {

// DOMAIN_INFORMATION_CLASS.
enum class DomainInformationClass : std::uint16_t {
  kPassword = 1,
  kLogoff = 3,
  kLockout = 12,
};

// What the network management calls report for an interval that never ends.
using platform::kTimeqForever;

// DOMAIN_PASSWORD_INFORMATION.
struct DomainPasswordInformation {
  std::uint16_t min_password_length = 0;
  std::uint16_t password_history_length = 0;
  std::uint32_t password_properties = 0;
  std::int64_t max_password_age = 0;
  std::int64_t min_password_age = 0;
};

struct DomainPasswordReply {
  win::Status status = win::ERROR_SUCCESS;
  DomainPasswordInformation info;
};

struct DomainLogoffReply {
  win::Status status = win::ERROR_SUCCESS;
  std::int64_t force_logoff = 0;
};

// SAMPR_DOMAIN_LOCKOUT_INFORMATION.
struct DomainLockoutInformation {
  std::int64_t lockout_duration = 0;
  std::int64_t lockout_observation_window = 0;
  std::uint16_t lockout_threshold = 0;
};

struct DomainLockoutReply {
  win::Status status = win::ERROR_SUCCESS;
  DomainLockoutInformation info;
};

// Password and logoff need DOMAIN_READ_PASSWORD_PARAMETERS, lockout
// DOMAIN_READ_PASSWORD_PARAMETERS too, on the domain handle.
std::vector<std::uint8_t> EncodeQueryDomainInformation2(const ndr::ContextHandle& domain,
                                                        DomainInformationClass information_class);
DomainPasswordReply DecodeDomainPassword(std::span<const std::uint8_t> stub);
DomainLogoffReply DecodeDomainLogoff(std::span<const std::uint8_t> stub);
DomainLockoutReply DecodeDomainLockout(std::span<const std::uint8_t> stub);

// Seconds of a SAM interval: its magnitude in whole seconds, kTimeqForever
// for the largest negative value (never) or anything that does not fit.
std::uint32_t NetSecondsOfInterval(std::int64_t interval);

}  // namespace tabulon::platform::remote::samr
