#pragma once
// The logon service interface: the controller of a domain by its old name
// lookup and by the locator, with the NET_API_STATUS the server returned (or
// RPC_X_BAD_STUB_DATA for a malformed stub).
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/directory.h"
#include "platform/netapi.h"
#include "platform/remote/rpc_transport.h"

namespace tabulon::platform::remote::netlogon {

inline constexpr RpcInterface kInterface{"netlogon",
                                         {0x12, 0x34, 0x56, 0x78, 0x12, 0x34, 0xab, 0xcd, 0xef,
                                          0x00, 0x01, 0x23, 0x45, 0x67, 0xcf, 0xfb},
                                         1,
                                         0};

enum Opnum : std::uint16_t {
  kNetrGetDCName = 11,
  kDsrGetDcNameEx2 = 34,
};

// `server` (the server that answers, "\\NAME") is required; an empty
// domain is sent as a null pointer (the server's own domain).
std::vector<std::uint8_t> EncodeGetDcName(std::string_view server, std::string_view domain);
DcNameResult DecodeGetDcName(std::span<const std::uint8_t> stub);

// Empty computer and domain names are sent as null pointers; no account,
// domain GUID or site.
std::vector<std::uint8_t> EncodeGetDcNameEx2(std::string_view computer, std::string_view domain,
                                             std::uint32_t flags);
DcInfoResult DecodeGetDcNameEx2(std::span<const std::uint8_t> stub);

}  // namespace tabulon::platform::remote::netlogon
