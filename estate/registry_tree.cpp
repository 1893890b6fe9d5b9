#include "estate/registry_tree.h"

#include <algorithm>

#include "platform/sizes.h"
#include "platform/text.h"

namespace tabulon::estate {
namespace {

struct HiveNames {
  Hive hive;
  std::string_view name;
  std::string_view abbreviation;
  platform::RegistryKey predefined;
};

constexpr std::array<HiveNames, kHiveCount> kHives{{
    {Hive::kClassesRoot, "HKEY_CLASSES_ROOT", "HKCR", platform::kHkeyClassesRoot},
    {Hive::kCurrentUser, "HKEY_CURRENT_USER", "HKCU", platform::kHkeyCurrentUser},
    {Hive::kLocalMachine, "HKEY_LOCAL_MACHINE", "HKLM", platform::kHkeyLocalMachine},
    {Hive::kUsers, "HKEY_USERS", "HKU", platform::kHkeyUsers},
    {Hive::kCurrentConfig, "HKEY_CURRENT_CONFIG", "HKCC", platform::kHkeyCurrentConfig},
}};

// Calls `each` with every non-empty component of a "\"-separated path until
// it returns false.
template <typename Each>
bool ForEachComponent(std::string_view path, Each&& each) {
  while (!path.empty()) {
    const auto cut = path.find('\\');
    const std::string_view part = path.substr(0, cut);
    if (!part.empty() && !each(part)) return false;
    if (cut == std::string_view::npos) break;
    path.remove_prefix(cut + 1);
  }
  return true;
}

}  // namespace

std::optional<Hive> HiveFromName(std::string_view name) {
  for (const auto& h : kHives) {
    if (text::EqualsNoCase(name, h.name) || text::EqualsNoCase(name, h.abbreviation)) return h.hive;
  }
  return std::nullopt;
}

std::string_view HiveName(Hive hive) {
  return kHives[static_cast<std::size_t>(hive)].name;
}

std::optional<Hive> HiveOfPredefinedKey(platform::RegistryKey key) {
  for (const auto& h : kHives) {
    if (h.predefined == key) return h.hive;
  }
  return std::nullopt;
}

RegistryTree::RegistryTree(platform::FileTime default_last_write)
    : default_last_write_(default_last_write) {
  for (const auto& h : kHives) roots_[static_cast<std::size_t>(h.hive)] = AddNode(h.name);
}

std::uint32_t RegistryTree::AddNode(std::string_view name) {
  RegistryNode node;
  node.name = std::string(name);
  node.sort_key = text::ToUpper(name);
  node.last_write = default_last_write_;
  nodes_.push_back(std::move(node));
  value_positions_.emplace_back();
  return static_cast<std::uint32_t>(nodes_.size() - 1);
}

std::pair<std::size_t, bool> RegistryTree::Locate(std::uint32_t key,
                                                  std::string_view sort_key) const {
  const auto& subkeys = nodes_[key].subkeys;
  const auto it = std::lower_bound(
      subkeys.begin(), subkeys.end(), sort_key,
      [&](std::uint32_t child, std::string_view k) { return nodes_[child].sort_key < k; });
  const bool found = it != subkeys.end() && nodes_[*it].sort_key == sort_key;
  return {static_cast<std::size_t>(it - subkeys.begin()), found};
}

std::uint32_t RegistryTree::Find(std::uint32_t from, std::string_view path) const {
  std::uint32_t key = from;
  const bool found = ForEachComponent(path, [&](std::string_view part) {
    const auto [pos, there] = Locate(key, text::ToUpper(part));
    if (!there) return false;
    key = nodes_[key].subkeys[pos];
    return true;
  });
  return found ? key : kNoKey;
}

const RegistryValueData* RegistryTree::FindValue(std::uint32_t key, std::string_view name) const {
  const auto& positions = value_positions_[key];
  const auto it = positions.find(text::ToLower(name));
  return it == positions.end() ? nullptr : &nodes_[key].values[it->second];
}

std::optional<std::uint32_t> RegistryTree::CreateKey(Hive hive, std::string_view path) {
  std::uint32_t key = root(hive);
  const bool ok = ForEachComponent(path, [&](std::string_view part) {
    if (platform::Utf16Units(part) > platform::kMaxKeyNameChars) return false;
    const std::string sort_key = text::ToUpper(part);
    const auto [pos, there] = Locate(key, sort_key);
    if (there) {
      key = nodes_[key].subkeys[pos];
      return true;
    }
    const std::uint32_t child = AddNode(part);
    auto& subkeys = nodes_[key].subkeys;
    subkeys.insert(subkeys.begin() + static_cast<std::ptrdiff_t>(pos), child);
    key = child;
    return true;
  });
  if (!ok) return std::nullopt;
  return key;
}

void RegistryTree::DeleteKey(Hive hive, std::string_view path) {
  std::uint32_t parent = root(hive);
  std::string_view last;
  // The parent of the last component, found the same way Find walks.
  const auto cut = path.find_last_not_of('\\');
  if (cut == std::string_view::npos) return;  // a hive itself stays
  path = path.substr(0, cut + 1);
  const auto slash = path.rfind('\\');
  last = slash == std::string_view::npos ? path : path.substr(slash + 1);
  if (slash != std::string_view::npos) {
    parent = Find(parent, path.substr(0, slash));
    if (parent == kNoKey) return;
  }
  const auto [pos, there] = Locate(parent, text::ToUpper(last));
  if (!there) return;
  // The node stays in the vector, unreachable; numbers of others keep.
  auto& subkeys = nodes_[parent].subkeys;
  subkeys.erase(subkeys.begin() + static_cast<std::ptrdiff_t>(pos));
}

void RegistryTree::SetValue(std::uint32_t key, RegistryValueData value) {
  auto& values = nodes_[key].values;
  const auto [it, added] =
      value_positions_[key].try_emplace(text::ToLower(value.name), values.size());
  if (added) {
    values.push_back(std::move(value));
    return;
  }
  // The value keeps its first name and place and takes the new data.
  RegistryValueData& existing = values[it->second];
  existing.type = value.type;
  existing.data = std::move(value.data);
}

void RegistryTree::DeleteValue(std::uint32_t key, std::string_view name) {
  auto& positions = value_positions_[key];
  const auto it = positions.find(text::ToLower(name));
  if (it == positions.end()) return;
  const std::size_t gone = it->second;
  positions.erase(it);
  auto& values = nodes_[key].values;
  values.erase(values.begin() + static_cast<std::ptrdiff_t>(gone));
  for (auto& [lowered, position] : positions) {
    if (position > gone) --position;
  }
}

}  // namespace tabulon::estate
