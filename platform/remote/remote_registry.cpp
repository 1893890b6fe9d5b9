#include "platform/remote/remote_registry.h"

#include <algorithm>
#include <optional>
#include <string>

#include "platform/remote/remote_call.h"
#include "platform/remote/remote_network.h"
#include "platform/remote/winreg_codec.h"

namespace tabulon::platform::remote {
namespace {

bool IsPredefined(RegistryKey key) {
  return winreg::OpenHiveOpnum(key).has_value();
}

std::string BytesText(const std::vector<std::uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace

RemoteRegistry::~RemoteRegistry() {
  // Subkeys before the hives they were opened from.
  for (const RegistryKey key : keys_.NewestFirst()) CloseKey(key);
}

RegistryKeyResult RemoteRegistry::Keep(const std::string& host, const RpcReply& reply) {
  if (reply.status != win::ERROR_SUCCESS) return {reply.status, 0};
  const winreg::HandleReply opened = winreg::DecodeHandleReply(reply.stub);
  if (opened.status != win::ERROR_SUCCESS) return {opened.status, 0};
  const RegistryKey key = keys_.Add(host, opened.handle);
  // A server that reports success with no handle gave no key.
  return {key != 0 ? win::ERROR_SUCCESS : win::RPC_X_BAD_STUB_DATA, key};
}

RegistryKeyResult RemoteRegistry::ConnectRegistry(std::string_view machine, RegistryKey hive) {
  const std::optional<winreg::Opnum> open = winreg::OpenHiveOpnum(hive);
  if (!open) return {win::ERROR_INVALID_HANDLE, 0};
  const std::string host(HostOf(machine));
  // This computer's registry is not reached over the network.
  if (host.empty()) return {win::ERROR_NOT_SUPPORTED, 0};
  // Other computers offer these two hives only.
  if (hive != kHkeyLocalMachine && hive != kHkeyUsers) return {win::ERROR_INVALID_HANDLE, 0};
  return Keep(host, transport_.Call(host, winreg::kInterface, *open,
                                    winreg::EncodeOpenHive(winreg::kMaximumAllowed)));
}

RegistryKeyResult RemoteRegistry::OpenKey(RegistryKey parent, std::string_view subkey,
                                          std::uint32_t access) {
  const OpenRegistryKey* opened = keys_.Find(parent);
  if (opened == nullptr) return {win::ERROR_INVALID_HANDLE, 0};
  const std::string host = opened->host;
  return Keep(host, transport_.Call(host, winreg::kInterface, winreg::kBaseRegOpenKey,
                                    winreg::EncodeOpenKey(opened->handle, subkey, access)));
}

RegistryValueResult RemoteRegistry::QueryValue(RegistryKey key, std::string_view name,
                                               std::uint32_t buffer_size) {
  const OpenRegistryKey* opened = keys_.Find(key);
  if (opened == nullptr) return Failed<RegistryValueResult>(win::ERROR_INVALID_HANDLE);
  const winreg::ValueReply reply = CallAndDecode<winreg::ValueReply>(
      transport_, opened->host, winreg::kInterface, winreg::kBaseRegQueryValue,
      winreg::EncodeQueryValue(opened->handle, name, buffer_size), winreg::DecodeQueryValue);
  RegistryValueResult result;
  result.status = reply.status;
  if (reply.status != win::ERROR_SUCCESS && reply.status != win::ERROR_MORE_DATA) return result;
  result.type = reply.type;
  result.data_size = reply.data_size;
  // A server that sends more than the buffer holds is held to its size.
  if (reply.status == win::ERROR_MORE_DATA || reply.data.size() > buffer_size) {
    result.status = win::ERROR_MORE_DATA;
    result.data_size = std::max<std::uint32_t>(reply.data_size, reply.data.size());
    return result;
  }
  result.data = BytesText(reply.data);
  return result;
}

RegistryEnumKeyResult RemoteRegistry::EnumKey(RegistryKey key, std::uint32_t index,
                                              std::uint32_t name_buffer_chars) {
  const OpenRegistryKey* opened = keys_.Find(key);
  if (opened == nullptr) return Failed<RegistryEnumKeyResult>(win::ERROR_INVALID_HANDLE);
  // The server is given room for the longest name, and the caller's buffer
  // is applied here: Samba sends a name longer than the buffer it was given,
  // which does not decode, where Windows answers ERROR_MORE_DATA.
  const winreg::EnumKeyReply reply = CallAndDecode<winreg::EnumKeyReply>(
      transport_, opened->host, winreg::kInterface, winreg::kBaseRegEnumKey,
      winreg::EncodeEnumKey(opened->handle, index,
                            std::max(name_buffer_chars, kMaxKeyNameChars + 1)),
      winreg::DecodeEnumKey);
  RegistryEnumKeyResult result;
  result.status = reply.status;
  if (reply.status != win::ERROR_SUCCESS) return result;
  // The buffer holds the name and its terminator.
  if (reply.name.chars >= name_buffer_chars) {
    result.status = win::ERROR_MORE_DATA;
    return result;
  }
  result.name = reply.name.name;
  result.last_write_time = reply.last_write_time;
  return result;
}

RegistryEnumValueResult RemoteRegistry::EnumValue(RegistryKey key, std::uint32_t index,
                                                  std::uint32_t name_buffer_chars,
                                                  std::uint32_t data_buffer_size) {
  const OpenRegistryKey* opened = keys_.Find(key);
  if (opened == nullptr) return Failed<RegistryEnumValueResult>(win::ERROR_INVALID_HANDLE);
  const winreg::EnumValueReply reply = CallAndDecode<winreg::EnumValueReply>(
      transport_, opened->host, winreg::kInterface, winreg::kBaseRegEnumValue,
      winreg::EncodeEnumValue(opened->handle, index, name_buffer_chars, data_buffer_size),
      winreg::DecodeEnumValue);
  RegistryEnumValueResult result;
  result.status = reply.status;
  if (reply.status != win::ERROR_SUCCESS && reply.status != win::ERROR_MORE_DATA) return result;
  const winreg::ValueReply& value = reply.value;
  result.type = value.type;
  result.data_size = std::max<std::uint32_t>(value.data_size, value.data.size());
  const bool name_fits = reply.name.chars < name_buffer_chars;
  if (name_fits) result.name = reply.name.name;
  if (reply.status == win::ERROR_MORE_DATA || !name_fits || value.data.size() > data_buffer_size) {
    result.status = win::ERROR_MORE_DATA;
    return result;
  }
  result.data = BytesText(value.data);
  return result;
}

RegistryKeyInfo RemoteRegistry::QueryInfoKey(RegistryKey key) {
  const OpenRegistryKey* opened = keys_.Find(key);
  if (opened == nullptr) return Failed<RegistryKeyInfo>(win::ERROR_INVALID_HANDLE);
  return CallAndDecode<RegistryKeyInfo>(
      transport_, opened->host, winreg::kInterface, winreg::kBaseRegQueryInfoKey,
      winreg::EncodeQueryInfoKey(opened->handle), winreg::DecodeQueryInfoKey);
}

win::Status RemoteRegistry::CloseKey(RegistryKey key) {
  const OpenRegistryKey* opened = keys_.Find(key);
  if (opened == nullptr) return IsPredefined(key) ? win::ERROR_SUCCESS : win::ERROR_INVALID_HANDLE;
  const RpcReply reply = transport_.Call(opened->host, winreg::kInterface, winreg::kBaseRegCloseKey,
                                         winreg::EncodeCloseKey(opened->handle));
  // The key is gone from the session whatever the server answers.
  keys_.Remove(key);
  if (reply.status != win::ERROR_SUCCESS) return reply.status;
  return winreg::DecodeHandleReply(reply.stub).status;
}

NamedSecurityInfo RemoteRegistry::KeySecurity(std::string_view machine,
                                              std::string_view object_path,
                                              std::uint32_t information) {
  constexpr std::uint32_t kReadControl = 0x00020000;
  const std::size_t slash = object_path.find('\\');
  const std::optional<RegistryKey> hive = RegistryHiveOfRoot(object_path.substr(0, slash));
  if (!hive) return {win::ERROR_INVALID_PARAMETER, {}};
  const std::string_view path =
      slash == std::string_view::npos ? std::string_view{} : object_path.substr(slash + 1);
  const RegistryKeyResult connected = ConnectRegistry(machine, *hive);
  if (connected.status != win::ERROR_SUCCESS) return {connected.status, {}};
  const RegistryKeyResult key = OpenKey(connected.key, path, kReadControl);
  NamedSecurityInfo info{key.status, {}};
  if (key.status == win::ERROR_SUCCESS) {
    const OpenRegistryKey* opened = keys_.Find(key.key);
    info = AskDescriptor(information, [&](std::uint32_t size) {
      return CallAndDecode<DescriptorReply>(
          transport_, opened->host, winreg::kInterface, winreg::kBaseRegGetKeySecurity,
          winreg::EncodeGetKeySecurity(opened->handle, information, size),
          winreg::DecodeGetKeySecurity);
    });
    CloseKey(key.key);
  }
  CloseKey(connected.key);
  return info;
}

}  // namespace tabulon::platform::remote
