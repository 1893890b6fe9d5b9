#include "estate/registry.h"

#include <algorithm>

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

EstateRegistry::EstateRegistry(Simulation& simulation)
    : sim_(simulation), empty_(platform::FileTime{0}) {}

const RegistryTree& EstateRegistry::TreeOf(std::uint32_t computer) const {
  const auto& registry = sim_.estate().computers[computer].registry;
  return registry ? *registry : empty_;
}

const EstateRegistry::KeyState* EstateRegistry::Find(platform::RegistryKey key) {
  const auto it = keys_.find(key);
  if (it != keys_.end()) return &it->second;
  const std::optional<Hive> hive = HiveOfPredefinedKey(key);
  const Computer* local = sim_.estate().LocalComputer();
  if (!hive || local == nullptr) return nullptr;
  const std::uint32_t computer = sim_.estate().IndexOf(*local);
  predefined_ = {computer, TreeOf(computer).root(*hive), platform::kKeyAllAccess, "",
                 std::string(HiveName(*hive))};
  return &predefined_;
}

win::Status EstateRegistry::Check(Operation op, const KeyState& state) {
  const Computer& computer = sim_.estate().computers[state.computer];
  sim_.Wait(&computer);
  const win::Status status = sim_.Injected(op, computer.failures, state.computer);
  if (status != win::ERROR_SUCCESS) return status;
  return sim_.Injected(op, TreeOf(state.computer).node(state.node).failures, state.computer);
}

win::Status EstateRegistry::Admit(Operation op, const KeyState* state, std::uint32_t access) {
  if (state == nullptr) return win::ERROR_INVALID_HANDLE;
  if ((state->access & access) == 0) return win::ERROR_ACCESS_DENIED;
  return Check(op, *state);
}

platform::RegistryKey EstateRegistry::Add(KeyState state) {
  const platform::RegistryKey key = next_key_++;
  keys_.emplace(key, std::move(state));
  return key;
}

platform::RegistryKeyResult EstateRegistry::ConnectRegistry(std::string_view machine,
                                                            platform::RegistryKey hive) {
  const Estate& estate = sim_.estate();
  platform::RegistryKeyResult result;
  const Computer* computer = estate.FindServer(machine);
  sim_.Record(Operation::kRegConnectRegistry, machine, [&] { return "hive=" + KeyText(hive); });
  sim_.Wait(computer);
  const std::optional<Hive> which = HiveOfPredefinedKey(hive);
  if (!which) {
    result.status = win::ERROR_INVALID_HANDLE;
    return result;
  }
  if (computer == nullptr || computer->offline) {
    result.status = win::ERROR_BAD_NETPATH;
    return result;
  }
  // Another computer offers only these two hives.
  const bool remote = !StripBackslashes(machine).empty();
  if (remote && *which != Hive::kLocalMachine && *which != Hive::kUsers) {
    result.status = win::ERROR_INVALID_HANDLE;
    return result;
  }
  const std::uint32_t index = estate.IndexOf(*computer);
  result.status = sim_.Injected(Operation::kRegConnectRegistry, computer->failures, index);
  if (result.status != win::ERROR_SUCCESS) return result;
  result.key = Add({index, TreeOf(index).root(*which), platform::kKeyAllAccess,
                    std::string(machine), std::string(HiveName(*which))});
  return result;
}

platform::RegistryKeyResult EstateRegistry::OpenKey(platform::RegistryKey parent,
                                                    std::string_view subkey, std::uint32_t access) {
  platform::RegistryKeyResult result;
  const KeyState* state = Find(parent);
  sim_.Record(Operation::kRegOpenKey, state != nullptr ? state->host : "", [&] {
    return "path=" + JoinPath(state != nullptr ? state->path : KeyText(parent), subkey) +
           " access=" + Hex(access);
  });
  if (state == nullptr) {
    result.status = win::ERROR_INVALID_HANDLE;
    return result;
  }
  const Computer& computer = sim_.estate().computers[state->computer];
  sim_.Wait(&computer);
  result.status = sim_.Injected(Operation::kRegOpenKey, computer.failures, state->computer);
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
  result.key = Add(std::move(opened));
  return result;
}

platform::RegistryValueResult EstateRegistry::QueryValue(platform::RegistryKey key,
                                                         std::string_view name,
                                                         std::uint32_t buffer_size) {
  platform::RegistryValueResult result;
  const KeyState* state = Find(key);
  sim_.Record(Operation::kRegQueryValue, state != nullptr ? state->host : "", [&] {
    return "path=" + (state != nullptr ? state->path : KeyText(key)) +
           " value=" + std::string(name) + " size=" + std::to_string(buffer_size);
  });
  result.status = Admit(Operation::kRegQueryValue, state, platform::kKeyQueryValue);
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
  sim_.Record(Operation::kRegEnumKey, state != nullptr ? state->host : "", [&] {
    return "path=" + (state != nullptr ? state->path : KeyText(key)) +
           " index=" + std::to_string(index) + " size=" + std::to_string(name_buffer_chars);
  });
  result.status = Admit(Operation::kRegEnumKey, state, platform::kKeyEnumerateSubKeys);
  if (result.status != win::ERROR_SUCCESS) return result;
  const RegistryTree& tree = TreeOf(state->computer);
  const auto& subkeys = tree.node(state->node).subkeys;
  if (index >= subkeys.size()) {
    result.status = win::ERROR_NO_MORE_ITEMS;
    return result;
  }
  const RegistryNode& child = tree.node(subkeys[index]);
  if (Utf16Units(child.name) >= name_buffer_chars) {
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
  sim_.Record(Operation::kRegEnumValue, state != nullptr ? state->host : "", [&] {
    return "path=" + (state != nullptr ? state->path : KeyText(key)) +
           " index=" + std::to_string(index) + " name_size=" + std::to_string(name_buffer_chars) +
           " size=" + std::to_string(data_buffer_size);
  });
  result.status = Admit(Operation::kRegEnumValue, state, platform::kKeyQueryValue);
  if (result.status != win::ERROR_SUCCESS) return result;
  const auto& values = TreeOf(state->computer).node(state->node).values;
  if (index >= values.size()) {
    result.status = win::ERROR_NO_MORE_ITEMS;
    return result;
  }
  const RegistryValueData& value = values[index];
  result.type = value.type;
  result.data_size = static_cast<std::uint32_t>(value.data.size());
  if (Utf16Units(value.name) >= name_buffer_chars) {
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
  sim_.Record(Operation::kRegQueryInfoKey, state != nullptr ? state->host : "",
              [&] { return "path=" + (state != nullptr ? state->path : KeyText(key)); });
  result.status = Admit(Operation::kRegQueryInfoKey, state, platform::kKeyQueryValue);
  if (result.status != win::ERROR_SUCCESS) return result;
  const RegistryTree& tree = TreeOf(state->computer);
  const RegistryNode& node = tree.node(state->node);
  result.subkeys = static_cast<std::uint32_t>(node.subkeys.size());
  for (std::uint32_t child : node.subkeys) {
    result.max_subkey_name_chars =
        std::max(result.max_subkey_name_chars, Utf16Units(tree.node(child).name));
  }
  result.values = static_cast<std::uint32_t>(node.values.size());
  for (const RegistryValueData& value : node.values) {
    result.max_value_name_chars = std::max(result.max_value_name_chars, Utf16Units(value.name));
    result.max_value_data_bytes =
        std::max(result.max_value_data_bytes, static_cast<std::uint32_t>(value.data.size()));
  }
  result.last_write_time = node.last_write;
  return result;
}

win::Status EstateRegistry::CloseKey(platform::RegistryKey key) {
  const auto it = keys_.find(key);
  sim_.Record(Operation::kRegCloseKey, it != keys_.end() ? it->second.host : "",
              [&] { return "path=" + (it != keys_.end() ? it->second.path : KeyText(key)); });
  if (it == keys_.end()) {
    return HiveOfPredefinedKey(key) ? win::ERROR_SUCCESS : win::ERROR_INVALID_HANDLE;
  }
  keys_.erase(it);
  return win::ERROR_SUCCESS;
}

std::vector<std::string> EstateRegistry::DescribeOpenKeys() const {
  std::vector<std::pair<platform::RegistryKey, std::string>> open;
  for (const auto& [key, state] : keys_) {
    open.emplace_back(key,
                      "\\\\" + sim_.estate().computers[state.computer].name + " " + state.path);
  }
  std::sort(open.begin(), open.end());
  std::vector<std::string> out;
  out.reserve(open.size());
  for (auto& entry : open) out.push_back(std::move(entry.second));
  return out;
}

}  // namespace tabulon::estate
