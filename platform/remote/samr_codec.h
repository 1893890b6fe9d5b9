#pragma once
// The account database interface: connecting, finding the account domain
// (and Builtin), opening it, listing its users, groups and aliases, the
// display listings of users and machines, translating RIDs, closing. The
// user, group, alias and domain policy calls are in samr_*_codec.h.
// Statuses are the NTSTATUS the server returned as a Windows status
// (RPC_X_BAD_STUB_DATA for a malformed stub): STATUS_MORE_ENTRIES is
// ERROR_MORE_DATA.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/netapi.h"
#include "platform/remote/account_codec_support.h"
#include "platform/remote/rpc_transport.h"
#include "platform/security.h"

namespace tabulon::platform::remote::samr {

inline constexpr RpcInterface kInterface{"samr",
                                         {0x12, 0x34, 0x57, 0x78, 0x12, 0x34, 0xab, 0xcd, 0xef,
                                          0x00, 0x01, 0x23, 0x45, 0x67, 0x89, 0xac},
                                         1,
                                         0};

enum Opnum : std::uint16_t {
  kSamrCloseHandle = 1,
  kSamrLookupDomainInSamServer = 5,
  kSamrEnumerateDomainsInSamServer = 6,
  kSamrOpenDomain = 7,
  kSamrEnumerateGroupsInDomain = 11,
  kSamrEnumerateUsersInDomain = 13,
  kSamrEnumerateAliasesInDomain = 15,
  kSamrGetAliasMembership = 16,
  kSamrLookupNamesInDomain = 17,
  kSamrLookupIdsInDomain = 18,
  kSamrOpenGroup = 19,
  kSamrQueryInformationGroup = 20,
  kSamrGetMembersInGroup = 25,
  kSamrOpenAlias = 27,
  kSamrQueryInformationAlias = 28,
  kSamrGetMembersInAlias = 33,
  kSamrOpenUser = 34,
  kSamrGetGroupsForUser = 39,
  kSamrQueryInformationDomain2 = 46,
  kSamrQueryInformationUser2 = 47,
  kSamrQueryDisplayInformation3 = 51,
  kSamrConnect2 = 57,
};

inline constexpr std::uint32_t kSamServerConnect = 0x00000001;
inline constexpr std::uint32_t kSamServerEnumerateDomains = 0x00000010;
inline constexpr std::uint32_t kSamServerLookupDomain = 0x00000020;
inline constexpr std::uint32_t kDomainReadPasswordParameters = 0x00000001;
inline constexpr std::uint32_t kDomainReadOtherParameters = 0x00000004;
inline constexpr std::uint32_t kDomainGetAliasMembership = 0x00000080;
inline constexpr std::uint32_t kDomainListAccounts = 0x00000100;
inline constexpr std::uint32_t kDomainLookup = 0x00000200;
inline constexpr std::uint32_t kMaximumAllowed = 0x02000000;

// The domain of the built-in aliases (S-1-5-32) as the server names it.
inline constexpr std::string_view kBuiltinDomainName = "Builtin";
// SamrLookupIdsInDomain takes at most this many RIDs per call.
inline constexpr std::size_t kMaxLookupIds = 1000;
// DOMAIN_DISPLAY_INFORMATION.
enum class DisplayClass : std::uint16_t { kUser = 1, kMachine = 2, kGroup = 3 };

// UF_* account flags (what the network management calls report) of SAM
// account control bits (USER_ACCOUNT_*).
std::uint32_t AccountFlagsOf(std::uint32_t account_control);

struct LookupDomainReply {
  win::Status status = win::ERROR_SUCCESS;
  Sid domain;
};

// An empty server name is sent as a null pointer. Connecting, opening and
// closing answer with DecodeHandleStatusReply.
std::vector<std::uint8_t> EncodeConnect2(std::string_view server, std::uint32_t access);
std::vector<std::uint8_t> EncodeCloseHandle(const ndr::ContextHandle& handle);

// The enumerations answer with DecodeRidEnumeration (account_codec_support.h).
std::vector<std::uint8_t> EncodeEnumerateDomains(const ndr::ContextHandle& server,
                                                 std::uint32_t enumeration_context,
                                                 std::uint32_t preferred_max_length);
// Users whose account control has any of the bits of `account_control`
// (0: all users).
std::vector<std::uint8_t> EncodeEnumerateUsers(const ndr::ContextHandle& domain,
                                               std::uint32_t enumeration_context,
                                               std::uint32_t account_control,
                                               std::uint32_t preferred_max_length);
std::vector<std::uint8_t> EncodeEnumerateGroups(const ndr::ContextHandle& domain,
                                                std::uint32_t enumeration_context,
                                                std::uint32_t preferred_max_length);
std::vector<std::uint8_t> EncodeEnumerateAliases(const ndr::ContextHandle& domain,
                                                 std::uint32_t enumeration_context,
                                                 std::uint32_t preferred_max_length);

std::vector<std::uint8_t> EncodeLookupDomain(const ndr::ContextHandle& server,
                                             std::string_view name);
LookupDomainReply DecodeLookupDomain(std::span<const std::uint8_t> stub);

std::vector<std::uint8_t> EncodeOpenDomain(const ndr::ContextHandle& server, std::uint32_t access,
                                           const Sid& domain);

std::vector<std::uint8_t> EncodeQueryDisplayInformation3(const ndr::ContextHandle& domain,
                                                         DisplayClass display_class,
                                                         std::uint32_t index,
                                                         std::uint32_t entry_count,
                                                         std::uint32_t preferred_max_length);
// The machine level as NetQueryDisplayInformation level 2 reports it: UF_*
// flags, and each entry's index as the index the next page starts from.
DisplayMachinesResult DecodeQueryDisplayMachines(std::span<const std::uint8_t> stub);

// SAMPR_DOMAIN_DISPLAY_USER as NetQueryDisplayInformation level 1 reports it.
struct DisplayUser {
  std::uint32_t next_index = 0;
  std::uint32_t user_id = 0;
  std::uint32_t flags = 0;  // UF_*
  std::string name;
  std::string comment;
  std::string full_name;
};

struct DisplayUsersReply {
  win::Status status = win::ERROR_SUCCESS;  // or ERROR_MORE_DATA
  std::vector<DisplayUser> entries;
};

DisplayUsersReply DecodeQueryDisplayUsers(std::span<const std::uint8_t> stub);

// A translated RID: its name and use (kUnknown when the server has none).
struct RidLookup {
  std::string name;
  SidNameUse use = SidNameUse::kNone;
};

struct LookupIdsReply {
  // STATUS_SOME_NOT_MAPPED is success (the unmapped entries say so by their
  // use); none mapped is ERROR_NONE_MAPPED.
  win::Status status = win::ERROR_SUCCESS;
  std::vector<RidLookup> entries;
};

// At most kMaxLookupIds RIDs.
std::vector<std::uint8_t> EncodeLookupIds(const ndr::ContextHandle& domain,
                                          std::span<const std::uint32_t> rids);
LookupIdsReply DecodeLookupIds(std::span<const std::uint8_t> stub);

}  // namespace tabulon::platform::remote::samr
