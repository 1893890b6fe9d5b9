#pragma once
// The account database interface: connecting, finding the account domain,
// opening it, the display listing at the machine level, closing. Statuses
// are the NTSTATUS the server returned as a Windows status
// (RPC_X_BAD_STUB_DATA for a malformed stub): STATUS_MORE_ENTRIES is
// ERROR_MORE_DATA.
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
  kSamrQueryDisplayInformation3 = 51,
  kSamrConnect2 = 57,
};

inline constexpr std::uint32_t kSamServerConnect = 0x00000001;
inline constexpr std::uint32_t kSamServerEnumerateDomains = 0x00000010;
inline constexpr std::uint32_t kSamServerLookupDomain = 0x00000020;
inline constexpr std::uint32_t kDomainListAccounts = 0x00000100;
inline constexpr std::uint32_t kDomainLookup = 0x00000200;

// DOMAIN_DISPLAY_INFORMATION.
enum class DisplayClass : std::uint16_t { kUser = 1, kMachine = 2, kGroup = 3 };

// UF_* account flags (what the network management calls report) of SAM
// account control bits (USER_ACCOUNT_*).
std::uint32_t AccountFlagsOf(std::uint32_t account_control);

// SAMPR_RID_ENUMERATION.
struct RidName {
  std::uint32_t rid = 0;
  std::string name;
};

struct EnumerateDomainsReply {
  win::Status status = win::ERROR_SUCCESS;  // or ERROR_MORE_DATA
  std::uint32_t enumeration_context = 0;
  std::vector<RidName> domains;
};

struct LookupDomainReply {
  win::Status status = win::ERROR_SUCCESS;
  Sid domain;
};

// An empty server name is sent as a null pointer. Connecting, opening and
// closing answer with DecodeHandleStatusReply.
std::vector<std::uint8_t> EncodeConnect2(std::string_view server, std::uint32_t access);
std::vector<std::uint8_t> EncodeCloseHandle(const ndr::ContextHandle& handle);

std::vector<std::uint8_t> EncodeEnumerateDomains(const ndr::ContextHandle& server,
                                                 std::uint32_t enumeration_context,
                                                 std::uint32_t preferred_max_length);
EnumerateDomainsReply DecodeEnumerateDomains(std::span<const std::uint8_t> stub);

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

}  // namespace tabulon::platform::remote::samr
