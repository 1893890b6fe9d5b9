#pragma once
// The registry of estate computers. Keys are tracked so that tests can
// check that every key an exporter opened was closed.
#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "estate/registry_tree.h"
#include "estate/simulation.h"
#include "platform/registry.h"

namespace tabulon::estate {

class EstateRegistry final : public platform::Registry {
 public:
  explicit EstateRegistry(Simulation& simulation);

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
  win::Status CloseKey(platform::RegistryKey key) override;

  std::size_t OpenKeyCount() const { return keys_.size(); }
  // "\\WS01 HKEY_LOCAL_MACHINE\System" per open key, for test failure
  // messages.
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
  // ERROR_SUCCESS, or the status a failure injected for the computer or
  // the key asks for.
  win::Status Check(Operation op, const KeyState& state);
  // A call on an open key: the handle, the access it was opened with, then
  // latency and injected failures.
  win::Status Admit(Operation op, const KeyState* state, std::uint32_t access);
  platform::RegistryKey Add(KeyState state);

  Simulation& sim_;
  RegistryTree empty_;
  std::unordered_map<platform::RegistryKey, KeyState> keys_;
  KeyState predefined_;  // the last predefined key looked up
  platform::RegistryKey next_key_ = 0x1000;
};

}  // namespace tabulon::estate
