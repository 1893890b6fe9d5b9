#include "platform/unsupported/unsupported_policy.h"

#include "platform/unsupported/refused.h"

namespace tabulon::unsupported {

platform::LsaOpenResult UnsupportedLsaPolicy::OpenPolicy(std::string_view /*system*/,
                                                         std::uint32_t /*access*/) {
  return {nt::STATUS_NOT_SUPPORTED, 0};
}

nt::Status UnsupportedLsaPolicy::Close(platform::LsaHandle /*policy*/) {
  return nt::STATUS_INVALID_HANDLE;
}

platform::AccountsWithRightResult UnsupportedLsaPolicy::EnumerateAccountsWithUserRight(
    platform::LsaHandle /*policy*/, std::string_view /*right*/) {
  return {nt::STATUS_NOT_SUPPORTED, {}};
}

platform::AuditEventsResult UnsupportedLsaPolicy::QueryAuditEvents(
    platform::LsaHandle /*policy*/, std::uint32_t /*information_class*/) {
  return {nt::STATUS_NOT_SUPPORTED, {}};
}

platform::PrivilegeDisplayNameResult UnsupportedLsaPolicy::LookupPrivilegeDisplayName(
    std::string_view /*system*/, std::string_view /*name*/, std::uint32_t /*buffer_chars*/) {
  return NotSupported<platform::PrivilegeDisplayNameResult>();
}

platform::UserModals0Result UnsupportedUserModals::NetUserModalsGet0(std::string_view /*server*/) {
  return NotSupported<platform::UserModals0Result>();
}

platform::UserModals2Result UnsupportedUserModals::NetUserModalsGet2(std::string_view /*server*/) {
  return NotSupported<platform::UserModals2Result>();
}

platform::UserModals3Result UnsupportedUserModals::NetUserModalsGet3(std::string_view /*server*/) {
  return NotSupported<platform::UserModals3Result>();
}

}  // namespace tabulon::unsupported
