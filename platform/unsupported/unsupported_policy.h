#pragma once
// The local security policy families where nothing serves them: every call
// fails (STATUS_NOT_SUPPORTED, ERROR_NOT_SUPPORTED), and no handle is ever
// handed out.
#include "platform/lsa_policy.h"
#include "platform/user_modals.h"

namespace tabulon::unsupported {

class UnsupportedLsaPolicy final : public platform::LsaPolicy {
 public:
  platform::LsaOpenResult OpenPolicy(std::string_view system, std::uint32_t access) override;
  nt::Status Close(platform::LsaHandle policy) override;
  platform::AccountsWithRightResult EnumerateAccountsWithUserRight(platform::LsaHandle policy,
                                                                   std::string_view right) override;
  platform::AuditEventsResult QueryAuditEvents(platform::LsaHandle policy,
                                               std::uint32_t information_class) override;
  platform::PrivilegeDisplayNameResult LookupPrivilegeDisplayName(
      std::string_view system, std::string_view name, std::uint32_t buffer_chars) override;
};

class UnsupportedUserModals final : public platform::UserModals {
 public:
  platform::UserModals0Result NetUserModalsGet0(std::string_view server) override;
  platform::UserModals2Result NetUserModalsGet2(std::string_view server) override;
  platform::UserModals3Result NetUserModalsGet3(std::string_view server) override;
};

}  // namespace tabulon::unsupported
