#pragma once
// The local security authority of a computer, after the advapi32 LSA policy
// functions: a policy handle opened with an access mask and closed again,
// the accounts holding a right, the audit events information, and the
// display names of privileges. The LSA calls report NTSTATUS values
// (nt_status.h) as Windows does; the privilege lookup a Windows error.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/nt_status.h"
#include "platform/security.h"
#include "platform/status.h"

namespace tabulon::platform {

using LsaHandle = std::uint64_t;  // 0 is no handle

// Policy access rights.
inline constexpr std::uint32_t kPolicyViewLocalInformation = 0x00000001;
inline constexpr std::uint32_t kPolicyViewAuditInformation = 0x00000002;
inline constexpr std::uint32_t kPolicySetAuditRequirements = 0x00000100;
inline constexpr std::uint32_t kPolicyLookupNames = 0x00000800;
inline constexpr std::uint32_t kGenericExecute = 0x20000000;
inline constexpr std::uint32_t kGenericRead = 0x80000000;

// POLICY_INFORMATION_CLASS values; only the audit events are modelled.
inline constexpr std::uint32_t kPolicyAuditEventsInformation = 2;

// POLICY_AUDIT_EVENT_* bits of an auditing option.
inline constexpr std::uint32_t kPolicyAuditEventSuccess = 0x1;
inline constexpr std::uint32_t kPolicyAuditEventFailure = 0x2;
inline constexpr std::uint32_t kPolicyAuditEventNone = 0x4;

struct LsaOpenResult {
  nt::Status status = nt::STATUS_SUCCESS;
  LsaHandle handle = 0;
};

// LsaEnumerateAccountsWithUserRight: STATUS_NO_MORE_ENTRIES when nobody
// holds the right.
struct AccountsWithRightResult {
  nt::Status status = nt::STATUS_SUCCESS;
  std::vector<Sid> sids;
};

// POLICY_AUDIT_EVENTS_INFO: MaximumAuditEventCount is the size of the
// option list, indexed by POLICY_AUDIT_EVENT_TYPE.
struct PolicyAuditEventsInfo {
  bool auditing_mode = false;
  std::vector<std::uint32_t> event_auditing_options;
};

struct AuditEventsResult {
  nt::Status status = nt::STATUS_SUCCESS;
  PolicyAuditEventsInfo info;
};

// LookupPrivilegeDisplayNameW. With ERROR_INSUFFICIENT_BUFFER
// `required_chars` is the buffer size the name needs, terminator included;
// a right that is not a privilege (a logon right) gives
// ERROR_NO_SUCH_PRIVILEGE.
struct PrivilegeDisplayNameResult {
  win::Status status = win::ERROR_SUCCESS;
  std::string display_name;
  std::uint32_t language_id = 0;
  std::uint32_t required_chars = 0;
};

class LsaPolicy {
 public:
  virtual ~LsaPolicy() = default;

  // LsaOpenPolicy on `system` ("\\NAME"; empty: this computer) with zeroed
  // object attributes. The handle must be closed.
  virtual LsaOpenResult OpenPolicy(std::string_view system, std::uint32_t access) = 0;
  // LsaClose.
  virtual nt::Status Close(LsaHandle policy) = 0;
  // LsaEnumerateAccountsWithUserRight for one right or privilege name; the
  // handle needs POLICY_LOOKUP_NAMES and POLICY_VIEW_LOCAL_INFORMATION.
  virtual AccountsWithRightResult EnumerateAccountsWithUserRight(LsaHandle policy,
                                                                 std::string_view right) = 0;
  // LsaQueryInformationPolicy for PolicyAuditEventsInformation; the handle
  // needs POLICY_VIEW_AUDIT_INFORMATION.
  virtual AuditEventsResult QueryAuditEvents(LsaHandle policy, std::uint32_t information_class) = 0;
  // LookupPrivilegeDisplayNameW on `system` into a buffer of `buffer_chars`.
  virtual PrivilegeDisplayNameResult LookupPrivilegeDisplayName(std::string_view system,
                                                                std::string_view name,
                                                                std::uint32_t buffer_chars) = 0;
};

}  // namespace tabulon::platform
