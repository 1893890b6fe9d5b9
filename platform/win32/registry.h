#pragma once
// The registry through advapi32's own registry functions, each call on the
// session's worker. Keys are numbers of the family's table or the
// predefined keys; the ones still open are closed when the family goes.
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/bounded_calls.h"
#include "platform/registry.h"
#include "platform/win32/handle_table.h"

namespace tabulon::platform::win32 {

// The largest value buffer and name buffer asked of the API, as the remote
// registry's.
inline constexpr std::uint32_t kMaxRegistryDataBytes = 0x4000000;
inline constexpr std::uint32_t kMaxRegistryNameChars = 0x7FFF;

class Win32Registry final : public Registry {
 public:
  explicit Win32Registry(BoundedCalls& calls) : calls_(calls) {}
  ~Win32Registry() override;

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

 private:
  BoundedCalls& calls_;
  std::shared_ptr<HandleTable> keys_ = std::make_shared<HandleTable>();
};

}  // namespace tabulon::platform::win32
