#pragma once
// The remote registry interface: request stubs for the calls the registry
// family makes and decoders of their responses, with the Windows status the
// server returned (or RPC_X_BAD_STUB_DATA for a malformed stub) and the sizes
// exactly as the server filled them.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/registry.h"
#include "platform/remote/codec_support.h"
#include "platform/remote/ndr/context_handle.h"
#include "platform/remote/rpc_transport.h"

namespace tabulon::platform::remote::winreg {

inline constexpr RpcInterface kInterface{"winreg",
                                         {0x33, 0x8c, 0xd0, 0x01, 0x22, 0x44, 0x31, 0xf1, 0xaa,
                                          0xaa, 0x90, 0x00, 0x38, 0x00, 0x10, 0x03},
                                         1,
                                         0};

enum Opnum : std::uint16_t {
  kOpenClassesRoot = 0,
  kOpenCurrentUser = 1,
  kOpenLocalMachine = 2,
  kOpenUsers = 4,
  kBaseRegCloseKey = 5,
  kBaseRegEnumKey = 9,
  kBaseRegEnumValue = 10,
  kBaseRegGetKeySecurity = 12,
  kBaseRegOpenKey = 15,
  kBaseRegQueryInfoKey = 16,
  kBaseRegQueryValue = 17,
  kOpenCurrentConfig = 27,
};

// What a hive is opened with: a connection has no access of its own.
inline constexpr std::uint32_t kMaximumAllowed = 0x02000000;
// The largest value buffer the interface carries.
inline constexpr std::uint32_t kMaxDataBytes = 0x4000000;
// Name buffers travel with 16-bit byte counts.
inline constexpr std::uint32_t kMaxNameChars = 0x7FFF;

// The operation that opens `hive`; none for a key that is no hive.
std::optional<Opnum> OpenHiveOpnum(RegistryKey hive);

struct HandleReply {
  win::Status status = win::ERROR_SUCCESS;
  ndr::ContextHandle handle;
};

// The server name is sent as a null pointer: the pipe names the server.
std::vector<std::uint8_t> EncodeOpenHive(std::uint32_t access);
std::vector<std::uint8_t> EncodeOpenKey(const ndr::ContextHandle& parent, std::string_view subkey,
                                        std::uint32_t access);
// The reply of the hive openings and of BaseRegOpenKey (and BaseRegCloseKey,
// whose handle comes back null).
HandleReply DecodeHandleReply(std::span<const std::uint8_t> stub);
std::vector<std::uint8_t> EncodeCloseKey(const ndr::ContextHandle& key);

// The parts `information` names of the key's descriptor, in a buffer of
// `buffer_size` bytes; a short buffer fails with ERROR_INSUFFICIENT_BUFFER
// and the size needed.
std::vector<std::uint8_t> EncodeGetKeySecurity(const ndr::ContextHandle& key,
                                               std::uint32_t information,
                                               std::uint32_t buffer_size);
DescriptorReply DecodeGetKeySecurity(std::span<const std::uint8_t> stub);

// A value buffer as the server filled it: the type, the bytes sent and the
// size it reported (the size needed with ERROR_MORE_DATA).
struct ValueReply {
  win::Status status = win::ERROR_SUCCESS;
  std::uint32_t type = kRegNone;
  std::vector<std::uint8_t> data;
  std::uint32_t data_size = 0;
};

std::vector<std::uint8_t> EncodeQueryValue(const ndr::ContextHandle& key, std::string_view name,
                                           std::uint32_t buffer_size);
ValueReply DecodeQueryValue(std::span<const std::uint8_t> stub);

// A name as the server returned it, without its terminator, and its length
// in UTF-16 units.
struct NameReply {
  std::string name;
  std::uint32_t chars = 0;
};

struct EnumKeyReply {
  win::Status status = win::ERROR_SUCCESS;
  NameReply name;
  FileTime last_write_time = 0;
};

std::vector<std::uint8_t> EncodeEnumKey(const ndr::ContextHandle& key, std::uint32_t index,
                                        std::uint32_t name_buffer_chars);
EnumKeyReply DecodeEnumKey(std::span<const std::uint8_t> stub);

struct EnumValueReply {
  win::Status status = win::ERROR_SUCCESS;
  NameReply name;
  ValueReply value;
};

std::vector<std::uint8_t> EncodeEnumValue(const ndr::ContextHandle& key, std::uint32_t index,
                                          std::uint32_t name_buffer_chars,
                                          std::uint32_t data_buffer_size);
EnumValueReply DecodeEnumValue(std::span<const std::uint8_t> stub);

std::vector<std::uint8_t> EncodeQueryInfoKey(const ndr::ContextHandle& key);
RegistryKeyInfo DecodeQueryInfoKey(std::span<const std::uint8_t> stub);

}  // namespace tabulon::platform::remote::winreg
