#pragma once
// The local security authority through advapi32's LSA functions, each call
// on the session's worker. Policy handles are numbers of the family's
// table; the ones still open are closed when the family goes.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/bounded_calls.h"
#include "platform/lsa_policy.h"
#include "platform/win32/handle_table.h"

namespace tabulon::platform::win32 {

// Bounds on what the LSA hands over, as the remote backend's.
inline constexpr std::uint32_t kMaxAccountsWithRight = 100000;
inline constexpr std::uint32_t kMaxAuditEventCount = 1000;

// The LSA_ENUMERATION_INFORMATION array LsaEnumerateAccountsWithUserRight
// returned with `count` entries; no entries, a count past the bound or an
// invalid SID makes it the status of malformed data.
nt::Status DecodeAccountsWithRight(const void* information, std::uint32_t count,
                                   std::vector<Sid>& sids);
// The POLICY_AUDIT_EVENTS_INFO LsaQueryInformationPolicy returned.
nt::Status DecodeAuditEvents(const void* information, PolicyAuditEventsInfo& info);

class Win32LsaPolicy final : public LsaPolicy {
 public:
  explicit Win32LsaPolicy(BoundedCalls& calls) : calls_(calls) {}
  ~Win32LsaPolicy() override;

  LsaOpenResult OpenPolicy(std::string_view system, std::uint32_t access) override;
  nt::Status Close(LsaHandle policy) override;
  AccountsWithRightResult EnumerateAccountsWithUserRight(LsaHandle policy,
                                                         std::string_view right) override;
  AuditEventsResult QueryAuditEvents(LsaHandle policy, std::uint32_t information_class) override;
  PrivilegeDisplayNameResult LookupPrivilegeDisplayName(std::string_view system,
                                                        std::string_view name,
                                                        std::uint32_t buffer_chars) override;

 private:
  BoundedCalls& calls_;
  std::shared_ptr<HandleTable> policies_ = std::make_shared<HandleTable>();
};

}  // namespace tabulon::platform::win32
