#include "estate/registry.h"

#include <algorithm>

#include "platform/sizes.h"

namespace tabulon::estate {
namespace {

std::string JoinPath(std::string_view base, std::string_view subkey) {
  std::string path(base);
  if (!subkey.empty()) {
    path += '\\';
    path += subkey;
  }
  return path;
}

std::string KeyText(platform::RegistryKey key) {
  if (const std::optional<Hive> hive = HiveOfPredefinedKey(key))
    return std::string(HiveName(*hive));
  return Hex(static_cast<std::uint32_t>(key));
}

}  // namespace

EstateRegistry::EstateRegistry(Simulation& simulation, const platform::SessionOptions& session)
    : sim_(simulation), session_(session), empty_(platform::FileTime{0}) {}

const RegistryTree& EstateRegistry::TreeOf(std::uint32_t computer) const {
  const auto& registry = sim_.estate().computers[computer].registry;
  return registry ? *registry : empty_;
}

const EstateRegistry::KeyState* EstateRegistry::Find(platform::RegistryKey key) {
  if (const KeyState* open = keys_.Find(key)) return open;
  const std::optional<Hive> hive = HiveOfPredefinedKey(key);
  const Computer* local = sim_.estate().LocalComputer();
  if (!hive || local == nullptr) return nullptr;
  const std::uint32_t computer = sim_.estate().IndexOf(*local);
  predefined_ = {computer, TreeOf(computer).root(*hive), platform::kKeyAllAccess, "",
                 std::string(HiveName(*hive))};
  return &predefined_;
}

template <typename DetailFn>
win::Status EstateRegistry::Reach(Operation op, platform::RegistryKey key, const KeyState* state,
                                  DetailFn&& detail) {
  const Computer* computer = state != nullptr ? &sim_.estate().computers[state->computer] : nullptr;
  return sim_.Reach(
      session_, op, state != nullptr ? state->host : "",
      [&] { return "path=" + (state != nullptr ? state->path : KeyText(key)) + detail(); },
      state != nullptr ? sim_.ToComputer(computer) : Destination{}, win::ERROR_INVALID_HANDLE);
}

template <typename DetailFn>
win::Status EstateRegistry::Admit(Operation op, platform::RegistryKey key, const KeyState* state,
                                  std::uint32_t access, DetailFn&& detail) {
  const win::Status status = Reach(op, key, state, detail);
  if (status != win::ERROR_SUCCESS) return status;
  if ((state->access & access) == 0) return win::ERROR_ACCESS_DENIED;
  return sim_.Injected(op, TreeOf(state->computer).node(state->node).failures, state->computer);
}

platform::RegistryKeyResult EstateRegistry::ConnectRegistry(std::string_view machine,
                                                            platform::RegistryKey hive) {
  const Estate& estate = sim_.estate();
  platform::RegistryKeyResult result;
  const Computer* computer = estate.FindServer(machine);
  const std::optional<Hive> which = HiveOfPredefinedKey(hive);
  // No hive is no handle, wherever it is sent.
  Destination to = sim_.ToComputer(computer);
  to.reachable &= which.has_value();
  result.status = sim_.Reach(
      session_, Operation::kRegConnectRegistry, machine, [&] { return "hive=" + KeyText(hive); },
      to, which ? win::ERROR_BAD_NETPATH : win::ERROR_INVALID_HANDLE);
  if (result.status != win::ERROR_SUCCESS) return result;
  // Another computer offers only these two hives.
  const bool remote = !StripBackslashes(machine).empty();
  if (remote && *which != Hive::kLocalMachine && *which != Hive::kUsers) {
    result.status = win::ERROR_INVALID_HANDLE;
    return result;
  }
  const std::uint32_t index = estate.IndexOf(*computer);
  result.key = keys_.Add({index, TreeOf(index).root(*which), platform::kKeyAllAccess,
                          std::string(machine), std::string(HiveName(*which))});
  return result;
}

platform::RegistryKeyResult EstateRegistry::OpenKey(platform::RegistryKey parent,
                                                    std::string_view subkey, std::uint32_t access) {
  platform::RegistryKeyResult result;
  const KeyState* state = Find(parent);
  // The opened key's path, not the parent's, goes into the call log.
  result.status = sim_.Reach(
      session_, Operation::kRegOpenKey, state != nullptr ? state->host : "",
      [&] {
        return "path=" + JoinPath(state != nullptr ? state->path : KeyText(parent), subkey) +
               " access=" + Hex(access);
      },
      state != nullptr ? sim_.ToComputer(&sim_.estate().computers[state->computer]) : Destination{},
      win::ERROR_INVALID_HANDLE);
  if (result.status != win::ERROR_SUCCESS) return result;
  const RegistryTree& tree = TreeOf(state->computer);
  const std::uint32_t node = tree.Find(state->node, subkey);
  if (node == RegistryTree::kNoKey) {
    result.status = win::ERROR_FILE_NOT_FOUND;
    return result;
  }
  result.status = sim_.Injected(Operation::kRegOpenKey, tree.node(node).failures, state->computer);
  if (result.status != win::ERROR_SUCCESS) return result;
  KeyState opened{state->computer, node, access, state->host, JoinPath(state->path, subkey)};
  result.key = keys_.Add(std::move(opened));
  return result;
}

platform::RegistryValueResult EstateRegistry::QueryValue(platform::RegistryKey key,
                                                         std::string_view name,
                                                         std::uint32_t buffer_size) {
  platform::RegistryValueResult result;
  const KeyState* state = Find(key);
  result.status = Admit(Operation::kRegQueryValue, key, state, platform::kKeyQueryValue, [&] {
    return " value=" + std::string(name) + " size=" + std::to_string(buffer_size);
  });
  if (result.status != win::ERROR_SUCCESS) return result;
  const RegistryValueData* value = TreeOf(state->computer).FindValue(state->node, name);
  if (value == nullptr) {
    result.status = win::ERROR_FILE_NOT_FOUND;
    return result;
  }
  result.type = value->type;
  result.data_size = static_cast<std::uint32_t>(value->data.size());
  if (buffer_size < result.data_size) {
    result.status = win::ERROR_MORE_DATA;
    return result;
  }
  result.data = value->data;
  return result;
}

platform::RegistryEnumKeyResult EstateRegistry::EnumKey(platform::RegistryKey key,
                                                        std::uint32_t index,
                                                        std::uint32_t name_buffer_chars) {
  platform::RegistryEnumKeyResult result;
  const KeyState* state = Find(key);
  result.status = Admit(Operation::kRegEnumKey, key, state, platform::kKeyEnumerateSubKeys, [&] {
    return " index=" + std::to_string(index) + " size=" + std::to_string(name_buffer_chars);
  });
  if (result.status != win::ERROR_SUCCESS) return result;
  const RegistryTree& tree = TreeOf(state->computer);
  const auto& subkeys = tree.node(state->node).subkeys;
  if (index >= subkeys.size()) {
    result.status = win::ERROR_NO_MORE_ITEMS;
    return result;
  }
  const RegistryNode& child = tree.node(subkeys[index]);
  if (platform::Utf16Units(child.name) >= name_buffer_chars) {
    result.status = win::ERROR_MORE_DATA;
    return result;
  }
  result.name = child.name;
  result.last_write_time = child.last_write;
  return result;
}

platform::RegistryEnumValueResult EstateRegistry::EnumValue(platform::RegistryKey key,
                                                            std::uint32_t index,
                                                            std::uint32_t name_buffer_chars,
                                                            std::uint32_t data_buffer_size) {
  platform::RegistryEnumValueResult result;
  const KeyState* state = Find(key);
  result.status = Admit(Operation::kRegEnumValue, key, state, platform::kKeyQueryValue, [&] {
    return " index=" + std::to_string(index) + " name_size=" + std::to_string(name_buffer_chars) +
           " size=" + std::to_string(data_buffer_size);
  });
  if (result.status != win::ERROR_SUCCESS) return result;
  const auto& values = TreeOf(state->computer).node(state->node).values;
  if (index >= values.size()) {
    result.status = win::ERROR_NO_MORE_ITEMS;
    return result;
  }
  const RegistryValueData& value = values[index];
  result.type = value.type;
  result.data_size = static_cast<std::uint32_t>(value.data.size());
  if (platform::Utf16Units(value.name) >= name_buffer_chars) {
    result.status = win::ERROR_MORE_DATA;
    return result;
  }
  result.name = value.name;
  if (data_buffer_size < result.data_size) {
    result.status = win::ERROR_MORE_DATA;
    return result;
  }
  result.data = value.data;
  return result;
}

platform::RegistryKeyInfo EstateRegistry::QueryInfoKey(platform::RegistryKey key) {
  platform::RegistryKeyInfo result;
  const KeyState* state = Find(key);
  result.status = Admit(Operation::kRegQueryInfoKey, key, state, platform::kKeyQueryValue,
                        [] { return std::string(); });
  if (result.status != win::ERROR_SUCCESS) return result;
  const RegistryTree& tree = TreeOf(state->computer);
  const RegistryNode& node = tree.node(state->node);
  result.subkeys = static_cast<std::uint32_t>(node.subkeys.size());
  for (std::uint32_t child : node.subkeys) {
    result.max_subkey_name_chars =
        std::max(result.max_subkey_name_chars, platform::Utf16Units(tree.node(child).name));
  }
  result.values = static_cast<std::uint32_t>(node.values.size());
  for (const RegistryValueData& value : node.values) {
    result.max_value_name_chars =
        std::max(result.max_value_name_chars, platform::Utf16Units(value.name));
    result.max_value_data_bytes =
        std::max(result.max_value_data_bytes, static_cast<std::uint32_t>(value.data.size()));
  }
  result.last_write_time = node.last_write;
  return result;
}

win::Status EstateRegistry::CloseKey(platform::RegistryKey key) {
  const KeyState* state = keys_.Find(key);
  sim_.Record(Operation::kRegCloseKey, state != nullptr ? state->host : "",
              [&] { return "path=" + (state != nullptr ? state->path : KeyText(key)); });
  if (keys_.Close(key)) return win::ERROR_SUCCESS;
  return HiveOfPredefinedKey(key) ? win::ERROR_SUCCESS : win::ERROR_INVALID_HANDLE;
}

std::vector<std::string> EstateRegistry::DescribeOpenKeys() const {
  return keys_.Describe([&](const KeyState& state) {
    return "registry key \\\\" + sim_.estate().computers[state.computer].name + " " + state.path;
  });
}

}  // namespace tabulon::estate
