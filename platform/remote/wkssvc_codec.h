#pragma once
// The workstation service interface: the transport enumeration the exports
// make, with the NET_API_STATUS the server returned (or RPC_X_BAD_STUB_DATA
// for a malformed stub).
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/netapi.h"
#include "platform/remote/rpc_transport.h"

namespace tabulon::platform::remote::wkssvc {

inline constexpr RpcInterface kInterface{"wkssvc",
                                         {0x6b, 0xff, 0xd0, 0x98, 0xa1, 0x12, 0x36, 0x10, 0x98,
                                          0x33, 0x46, 0xc3, 0xf8, 0x7e, 0x34, 0x5a},
                                         1,
                                         0};

enum Opnum : std::uint16_t {
  kNetrWkstaTransportEnum = 5,
};

// An empty server text is sent as a null pointer.
std::vector<std::uint8_t> EncodeWkstaTransportEnum(std::string_view server, std::uint32_t level,
                                                   std::uint32_t preferred_max_length,
                                                   std::uint32_t resume_handle);
WkstaTransportEnumResult DecodeWkstaTransportEnum0(std::span<const std::uint8_t> stub);

}  // namespace tabulon::platform::remote::wkssvc
