#pragma once
// The policy calls of the local security authority: the accounts holding a
// user right, a privilege's display name, and the policy's audit events and
// domains. Each reply keeps the NTSTATUS the server returned (a caller
// reports some of them as they are) beside it as a Windows status
// (RPC_X_BAD_STUB_DATA for a malformed stub): STATUS_NO_MORE_ENTRIES, no
// account holds the right, is ERROR_NO_MORE_ITEMS.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/remote/account_codec_support.h"
#include "platform/security.h"

namespace tabulon::platform::remote::lsarpc {

// POLICY_INFORMATION_CLASS.
enum class PolicyInformationClass : std::uint16_t {
  kAuditEvents = 2,
  kPrimaryDomain = 3,
  kAccountDomain = 5,
};

// POLICY_AUDIT_EVENT_SUCCESS and POLICY_AUDIT_EVENT_FAILURE.
inline constexpr std::uint32_t kAuditEventSuccess = 0x00000001;
inline constexpr std::uint32_t kAuditEventFailure = 0x00000002;

struct AccountsWithRightReply {
  win::Status status = win::ERROR_SUCCESS;
  std::uint32_t ntstatus = 0;
  std::vector<Sid> accounts;
};

struct PrivilegeDisplayNameReply {
  win::Status status = win::ERROR_SUCCESS;
  std::uint32_t ntstatus = 0;
  std::string display_name;
  std::uint16_t language = 0;
};

// LSAPR_POLICY_AUDIT_EVENTS_INFO: one option word per event category.
struct AuditEventsInformation {
  bool auditing_mode = false;
  std::vector<std::uint32_t> event_auditing_options;
};

struct AuditEventsReply {
  win::Status status = win::ERROR_SUCCESS;
  std::uint32_t ntstatus = 0;
  AuditEventsInformation info;
};

// LSAPR_POLICY_ACCOUNT_DOM_INFO and LSAPR_POLICY_PRIMARY_DOM_INFO: a
// computer outside any domain has a primary domain without a SID.
struct PolicyDomainReply {
  win::Status status = win::ERROR_SUCCESS;
  std::uint32_t ntstatus = 0;
  std::string name;
  bool has_sid = false;
  Sid sid;
};

// An empty right is sent as a null pointer: every account with any right.
std::vector<std::uint8_t> EncodeEnumerateAccountsWithUserRight(const ndr::ContextHandle& policy,
                                                               std::string_view right);
AccountsWithRightReply DecodeEnumerateAccountsWithUserRight(std::span<const std::uint8_t> stub);

// The languages are LANGIDs: the caller's and its system's default.
std::vector<std::uint8_t> EncodeLookupPrivilegeDisplayName(const ndr::ContextHandle& policy,
                                                           std::string_view privilege,
                                                           std::uint16_t client_language,
                                                           std::uint16_t system_language);
PrivilegeDisplayNameReply DecodeLookupPrivilegeDisplayName(std::span<const std::uint8_t> stub);

std::vector<std::uint8_t> EncodeQueryInformationPolicy(const ndr::ContextHandle& policy,
                                                       PolicyInformationClass information_class);
AuditEventsReply DecodeAuditEvents(std::span<const std::uint8_t> stub);
// The account or the primary domain, as `information_class` says.
PolicyDomainReply DecodePolicyDomain(std::span<const std::uint8_t> stub,
                                     PolicyInformationClass information_class);

}  // namespace tabulon::platform::remote::lsarpc
