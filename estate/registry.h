#pragma once
// The registry of estate computers, for one session. Keys live in the
// session's table, so that what a session left open can be counted when it
// closes.
#include <cstddef>
#include <string>
#include <vector>

#include "estate/handle_table.h"
#include "estate/registry_tree.h"
#include "estate/simulation.h"
#include "platform/registry.h"

namespace tabulon::estate {

class EstateRegistry final : public platform::Registry {
 public:
  EstateRegistry(Simulation& simulation, const platform::SessionOptions& session);

  platform::RegistryKeyResult ConnectRegistry(std::string_view machine,
                                              platform::RegistryKey hive) override;
  platform::RegistryKeyResult OpenKey(platform::RegistryKey parent, std::string_view subkey,
                                      std::uint32_t access) override;
  platform::RegistryValueResult QueryValue(platform::RegistryKey key, std::string_view name,
                                           std::uint32_t buffer_size) override;
  platform::RegistryEnumKeyResult EnumKey(platform::RegistryKey key, std::uint32_t index,
                                          std::uint32_t name_buffer_chars) override;
  platform::RegistryEnumValueResult EnumValue(platform::RegistryKey key, std::uint32_t index,
                                              std::uint32_t name_buffer_chars,
                                              std::uint32_t data_buffer_size) override;
  platform::RegistryKeyInfo QueryInfoKey(platform::RegistryKey key) override;
  // Local bookkeeping: closing works even after the session was cancelled.
  win::Status CloseKey(platform::RegistryKey key) override;

  std::size_t OpenKeyCount() const { return keys_.Count(); }
  // "registry key \\WS01 HKEY_LOCAL_MACHINE\System" per open key.
  std::vector<std::string> DescribeOpenKeys() const;

 private:
  struct KeyState {
    std::uint32_t computer = kNoIndex;
    std::uint32_t node = RegistryTree::kNoKey;
    std::uint32_t access = 0;
    std::string host;  // the machine as passed to ConnectRegistry
    std::string path;  // hive name and the path as opened, for the call log
  };

  const RegistryTree& TreeOf(std::uint32_t computer) const;
  // The state of an open key or of a predefined key of this computer.
  const KeyState* Find(platform::RegistryKey key);
  // Records a call on a key (open, or predefined) and reaches its computer:
  // ERROR_INVALID_HANDLE for no key, then the failures injected for the
  // computer.
  template <typename DetailFn>
  win::Status Reach(Operation op, platform::RegistryKey key, const KeyState* state,
                    DetailFn&& detail);
  // A call that reads an open key: reached, opened with `access`, and no
  // failure injected for the key.
  template <typename DetailFn>
  win::Status Admit(Operation op, platform::RegistryKey key, const KeyState* state,
                    std::uint32_t access, DetailFn&& detail);

  Simulation& sim_;
  const platform::SessionOptions& session_;
  RegistryTree empty_;
  HandleTable<KeyState> keys_{0x1000};
  KeyState predefined_;  // the last predefined key looked up
};

}  // namespace tabulon::estate
