#pragma once
// The service control manager interface: request stubs for the calls the
// exports make and decoders of their responses, with the Windows status the
// server returned (or RPC_X_BAD_STUB_DATA for a malformed stub) and the
// sizing fields exactly as the server filled them.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/remote/codec_support.h"
#include "platform/remote/ndr/context_handle.h"
#include "platform/remote/rpc_transport.h"
#include "platform/service_control.h"

namespace tabulon::platform::remote::svcctl {

inline constexpr RpcInterface kInterface{"svcctl",
                                         {0x36, 0x7a, 0xbb, 0x81, 0x98, 0x44, 0x35, 0xf1, 0xad,
                                          0x32, 0x98, 0xf0, 0x38, 0x00, 0x10, 0x03},
                                         2,
                                         0};

enum Opnum : std::uint16_t {
  kRCloseServiceHandle = 0,
  kRQueryServiceObjectSecurity = 4,
  kREnumServicesStatusW = 14,
  kROpenSCManagerW = 15,
  kROpenServiceW = 16,
  kRQueryServiceConfigW = 17,
};

// The largest buffers the server accepts; larger requests are sent as these.
inline constexpr std::uint32_t kMaxEnumBufferSize = 256 * 1024;
inline constexpr std::uint32_t kMaxConfigBufferSize = 8 * 1024;
inline constexpr std::uint32_t kMaxSecurityBufferSize = 256 * 1024;

struct HandleReply {
  win::Status status = win::ERROR_SUCCESS;
  ndr::ContextHandle handle;
};

// An empty machine name is sent as a null pointer; the database is always
// the default (null).
std::vector<std::uint8_t> EncodeOpenSCManager(std::string_view machine, std::uint32_t access);
std::vector<std::uint8_t> EncodeOpenService(const ndr::ContextHandle& manager,
                                            std::string_view service_name, std::uint32_t access);
// The reply of ROpenSCManagerW and ROpenServiceW.
HandleReply DecodeOpenReply(std::span<const std::uint8_t> stub);

std::vector<std::uint8_t> EncodeEnumServicesStatus(const ndr::ContextHandle& manager,
                                                   std::uint32_t service_type,
                                                   std::uint32_t service_state,
                                                   std::uint32_t buffer_size,
                                                   std::uint32_t resume_index);
// The entries in the returned buffer (ENUM_SERVICE_STATUSW with 32-bit string
// offsets from the start of the buffer), bytes needed, services returned and
// the resume index.
EnumServicesResult DecodeEnumServicesStatus(std::span<const std::uint8_t> stub);

std::vector<std::uint8_t> EncodeQueryServiceConfig(const ndr::ContextHandle& service,
                                                   std::uint32_t buffer_size);
ServiceConfigResult DecodeQueryServiceConfig(std::span<const std::uint8_t> stub);

// The parts `information` names of the service's descriptor, in a buffer of
// `buffer_size` bytes; a short buffer fails with ERROR_INSUFFICIENT_BUFFER and
// the size needed.
std::vector<std::uint8_t> EncodeQueryServiceObjectSecurity(const ndr::ContextHandle& service,
                                                           std::uint32_t information,
                                                           std::uint32_t buffer_size);
DescriptorReply DecodeQueryServiceObjectSecurity(std::span<const std::uint8_t> stub);

std::vector<std::uint8_t> EncodeCloseServiceHandle(const ndr::ContextHandle& handle);
win::Status DecodeCloseServiceHandle(std::span<const std::uint8_t> stub);

}  // namespace tabulon::platform::remote::svcctl
