#pragma once
// The local security authority interface: opening a policy, translating
// SIDs to names and names to SIDs, closing (the rights, privilege and
// policy information calls are in lsarpc_policy_codec.h). Statuses are the NTSTATUS the
// server returned as a Windows status (RPC_X_BAD_STUB_DATA for a malformed
// stub); each translated entry keeps its own use, which says whether it was
// mapped.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/remote/account_codec_support.h"
#include "platform/remote/rpc_transport.h"
#include "platform/security.h"

namespace tabulon::platform::remote::lsarpc {

inline constexpr RpcInterface kInterface{"lsarpc",
                                         {0x12, 0x34, 0x57, 0x78, 0x12, 0x34, 0xab, 0xcd, 0xef,
                                          0x00, 0x01, 0x23, 0x45, 0x67, 0x89, 0xab},
                                         0,
                                         0};

enum Opnum : std::uint16_t {
  kLsarClose = 0,
  kLsarQueryInformationPolicy = 7,
  kLsarLookupSids = 15,
  kLsarLookupPrivilegeDisplayName = 33,
  kLsarEnumerateAccountsWithUserRight = 35,
  kLsarOpenPolicy2 = 44,
  kLsarLookupNames3 = 68,
};

inline constexpr std::uint32_t kPolicyViewLocalInformation = 0x00000001;
inline constexpr std::uint32_t kPolicyViewAuditInformation = 0x00000002;
inline constexpr std::uint32_t kPolicySetAuditRequirements = 0x00000100;
inline constexpr std::uint32_t kPolicyLookupNames = 0x00000800;
// LsapLookupWksta: what a workstation's own lookups ask for.
inline constexpr std::uint16_t kLookupWksta = 1;

struct ReferencedDomain {
  std::string name;
  Sid sid;
};

struct TranslatedName {
  SidNameUse use = SidNameUse::kNone;
  std::string name;
  std::int32_t domain_index = -1;
};

struct TranslatedSid {
  SidNameUse use = SidNameUse::kNone;
  bool has_sid = false;
  Sid sid;
  std::int32_t domain_index = -1;
};

struct LookupSidsReply {
  win::Status status = win::ERROR_SUCCESS;
  std::vector<ReferencedDomain> domains;
  std::vector<TranslatedName> names;
};

struct LookupNamesReply {
  win::Status status = win::ERROR_SUCCESS;
  std::vector<ReferencedDomain> domains;
  std::vector<TranslatedSid> sids;
};

// An empty system name is sent as a null pointer.
std::vector<std::uint8_t> EncodeOpenPolicy2(std::string_view system, std::uint32_t access);
// Opening and closing answer with DecodeHandleStatusReply.
std::vector<std::uint8_t> EncodeClose(const ndr::ContextHandle& policy);

std::vector<std::uint8_t> EncodeLookupSids(const ndr::ContextHandle& policy,
                                           std::span<const Sid> sids, std::uint16_t level);
LookupSidsReply DecodeLookupSids(std::span<const std::uint8_t> stub);

std::vector<std::uint8_t> EncodeLookupNames3(const ndr::ContextHandle& policy,
                                             std::span<const std::string> names,
                                             std::uint16_t level);
LookupNamesReply DecodeLookupNames3(std::span<const std::uint8_t> stub);

}  // namespace tabulon::platform::remote::lsarpc
