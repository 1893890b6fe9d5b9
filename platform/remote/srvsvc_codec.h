#pragma once
// The server service interface: request stubs for the calls the exports make
// and decoders of their response stubs into the platform's records, with the
// NET_API_STATUS the server returned (or RPC_X_BAD_STUB_DATA for a malformed
// stub).
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/netapi.h"
#include "platform/remote/codec_support.h"
#include "platform/remote/rpc_transport.h"

namespace tabulon::platform::remote::srvsvc {

inline constexpr RpcInterface kInterface{"srvsvc",
                                         {0x4b, 0x32, 0x4f, 0xc8, 0x16, 0x70, 0x01, 0xd3, 0x12,
                                          0x78, 0x5a, 0x47, 0xbf, 0x6e, 0xe1, 0x88},
                                         3,
                                         0};

enum Opnum : std::uint16_t {
  kNetrConnectionEnum = 8,
  kNetrFileEnum = 9,
  kNetrSessionEnum = 12,
  kNetrShareEnum = 15,
  kNetrShareGetInfo = 16,
  kNetrServerGetInfo = 21,
  kNetrServerDiskEnum = 23,
};

// Empty server, qualifier, client, user and base path texts are sent as null
// pointers.
std::vector<std::uint8_t> EncodeServerGetInfo(std::string_view server, std::uint32_t level);
ServerInfoResult DecodeServerGetInfo101(std::span<const std::uint8_t> stub);

// Levels 1 and 502.
std::vector<std::uint8_t> EncodeShareEnum(std::string_view server, std::uint32_t level,
                                          std::uint32_t preferred_max_length,
                                          std::uint32_t resume_handle);
ShareEnumResult DecodeShareEnum(std::span<const std::uint8_t> stub, std::uint32_t level);

std::vector<std::uint8_t> EncodeShareGetInfo(std::string_view server, std::string_view netname,
                                             std::uint32_t level);
ShareGetInfoResult DecodeShareGetInfo0(std::span<const std::uint8_t> stub);
// SHARE_INFO_1501: the share's descriptor (empty when it has none).
DescriptorReply DecodeShareGetInfo1501(std::span<const std::uint8_t> stub);

std::vector<std::uint8_t> EncodeConnectionEnum(std::string_view server, std::string_view qualifier,
                                               std::uint32_t level,
                                               std::uint32_t preferred_max_length,
                                               std::uint32_t resume_handle);
ConnectionEnumResult DecodeConnectionEnum1(std::span<const std::uint8_t> stub);

// Levels 1 and 502.
std::vector<std::uint8_t> EncodeSessionEnum(std::string_view server, std::string_view client_name,
                                            std::string_view user_name, std::uint32_t level,
                                            std::uint32_t preferred_max_length,
                                            std::uint32_t resume_handle);
SessionEnumResult DecodeSessionEnum(std::span<const std::uint8_t> stub, std::uint32_t level);

std::vector<std::uint8_t> EncodeFileEnum(std::string_view server, std::string_view base_path,
                                         std::string_view user_name, std::uint32_t level,
                                         std::uint32_t preferred_max_length,
                                         std::uint32_t resume_handle);
FileEnumResult DecodeFileEnum3(std::span<const std::uint8_t> stub);

std::vector<std::uint8_t> EncodeServerDiskEnum(std::string_view server, std::uint32_t level,
                                               std::uint32_t preferred_max_length,
                                               std::uint32_t resume_handle);
// Drive names in order; the empty entry that ends a server's list is dropped.
ServerDiskEnumResult DecodeServerDiskEnum0(std::span<const std::uint8_t> stub);

}  // namespace tabulon::platform::remote::srvsvc
