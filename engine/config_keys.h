#pragma once
// Every configuration key with its kind and its two defaults: the one a run
// uses when the key is missing, and the one the configuration editor shows
// (and so writes). The per-type keys of the export type table are listed by
// PerTypeKeys().
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace tabulon {

enum class KeyKind { kInteger, kText };

struct ConfigKey {
  std::string_view section;
  std::string_view key;
  KeyKind kind;
  const char* run_default;     // null: the run does not read it
  const char* editor_default;  // null: the editor does not read it
};

std::span<const ConfigKey> GeneralConfigKeys();
// Enable, output-file and columns keys of every export type with a section.
std::vector<ConfigKey> PerTypeKeys();
// The key of `section`/`key` among both lists, compared without regard to case.
std::optional<ConfigKey> FindConfigKey(std::string_view section, std::string_view key);

// The run default of a key of the table; empty for a key it does not list.
std::string_view RunDefault(std::string_view section, std::string_view key);

}  // namespace tabulon
