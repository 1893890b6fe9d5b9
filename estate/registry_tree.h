#pragma once
// The registry of one estate computer: five hives of keys with their values
// and last-write times. Built once while the estate loads (from .reg text)
// and only read afterwards, so computers with the same registry can share
// one tree.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "estate/estate.h"
#include "platform/registry.h"
#include "platform/time.h"

namespace tabulon::estate {

enum class Hive : std::uint8_t {
  kClassesRoot,
  kCurrentUser,
  kLocalMachine,
  kUsers,
  kCurrentConfig,
};
inline constexpr std::size_t kHiveCount = 5;

// "HKEY_LOCAL_MACHINE" or "HKLM" (any case) and the other four hives.
std::optional<Hive> HiveFromName(std::string_view name);
std::string_view HiveName(Hive hive);  // "HKEY_LOCAL_MACHINE"
std::optional<Hive> HiveOfPredefinedKey(platform::RegistryKey key);

struct RegistryValueData {
  std::string name;  // empty: the key's default value
  std::uint32_t type = platform::kRegNone;
  std::string data;  // the bytes Windows holds
};

struct RegistryNode {
  std::string name;
  std::string sort_key;  // the name in upper case: subkeys are kept in this order
  platform::FileTime last_write = 0;
  std::vector<RegistryValueData> values;  // in the order they were first set
  std::vector<std::uint32_t> subkeys;
  FailureList failures;  // RegOpenKey, RegQueryValue, RegEnumKey, RegEnumValue, RegQueryInfoKey
};

// Keys are numbered; numbers stay valid while the tree lives.
class RegistryTree {
 public:
  static constexpr std::uint32_t kNoKey = 0xFFFFFFFF;

  explicit RegistryTree(platform::FileTime default_last_write);

  std::uint32_t root(Hive hive) const { return roots_[static_cast<std::size_t>(hive)]; }
  const RegistryNode& node(std::uint32_t key) const { return nodes_[key]; }
  RegistryNode& mutable_node(std::uint32_t key) { return nodes_[key]; }
  platform::FileTime default_last_write() const { return default_last_write_; }

  // The key `path` below `from`, components separated by "\" and compared
  // without regard to case; empty components are passed over.
  std::uint32_t Find(std::uint32_t from, std::string_view path) const;
  const RegistryValueData* FindValue(std::uint32_t key, std::string_view name) const;

  // Creates the key and any missing parents with the default last-write
  // time; nothing for a component longer than kMaxKeyNameChars.
  std::optional<std::uint32_t> CreateKey(Hive hive, std::string_view path);
  // Removes the key with its subkeys; a missing key is no error.
  void DeleteKey(Hive hive, std::string_view path);
  void SetValue(std::uint32_t key, RegistryValueData value);
  void DeleteValue(std::uint32_t key, std::string_view name);

 private:
  std::uint32_t AddNode(std::string_view name);
  // Position of `sort_key` among the subkeys of `key`, and whether it is
  // there.
  std::pair<std::size_t, bool> Locate(std::uint32_t key, std::string_view sort_key) const;

  std::vector<RegistryNode> nodes_;
  // Per key, the position of each value in `values` by its name in lower
  // case (the folding EqualsNoCase compares with), so that a file setting
  // many values in one key loads in linear time.
  std::vector<std::unordered_map<std::string, std::size_t>> value_positions_;
  std::array<std::uint32_t, kHiveCount> roots_{};
  platform::FileTime default_last_write_;
};

}  // namespace tabulon::estate
