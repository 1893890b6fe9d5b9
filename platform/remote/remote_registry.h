#pragma once
// The registry over the remote registry (winreg) interface. Keys are the
// server's context handles under session-local RegistryKey numbers, each
// with the server it was opened on; those the session's user leaves open are
// closed on their servers when the session ends. The remote backend has no
// registry of its own computer: predefined keys are no open keys here.
#include "platform/object_security.h"
#include "platform/registry.h"
#include "platform/remote/registry_key_table.h"
#include "platform/remote/rpc_transport.h"

namespace tabulon::platform::remote {

class RemoteRegistry final : public Registry {
 public:
  explicit RemoteRegistry(RpcTransport& transport) : transport_(transport) {}
  ~RemoteRegistry() override;
  RemoteRegistry(const RemoteRegistry&) = delete;
  RemoteRegistry& operator=(const RemoteRegistry&) = delete;

  RegistryKeyResult ConnectRegistry(std::string_view machine, RegistryKey hive) override;
  RegistryKeyResult OpenKey(RegistryKey parent, std::string_view subkey,
                            std::uint32_t access) override;
  RegistryValueResult QueryValue(RegistryKey key, std::string_view name,
                                 std::uint32_t buffer_size) override;
  RegistryEnumKeyResult EnumKey(RegistryKey key, std::uint32_t index,
                                std::uint32_t name_buffer_chars) override;
  RegistryEnumValueResult EnumValue(RegistryKey key, std::uint32_t index,
                                    std::uint32_t name_buffer_chars,
                                    std::uint32_t data_buffer_size) override;
  RegistryKeyInfo QueryInfoKey(RegistryKey key) override;
  win::Status CloseKey(RegistryKey key) override;

  // What GetNamedSecurityInfoW does for a key named "MACHINE\SOFTWARE\..."
  // on `machine`: the hive connected, the key opened for READ_CONTROL,
  // RegGetKeySecurity, both closed again.
  NamedSecurityInfo KeySecurity(std::string_view machine, std::string_view object_path,
                                std::uint32_t information);

 private:
  RegistryKeyResult Keep(const std::string& host, const RpcReply& reply);

  RpcTransport& transport_;
  RegistryKeyTable keys_;
};

}  // namespace tabulon::platform::remote
