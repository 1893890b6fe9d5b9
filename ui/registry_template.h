#pragma once
// A registry template as its editor holds it, and the key entries of its
// key list as the key editor shows them: a hive, the 64-bit view, a path
// and whether the key's subkeys (one level or all) are exported instead.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "exporters/templates/registry/registry_key_list.h"
#include "platform/profile.h"
#include "ui/template_store.h"

namespace tabulon::ui {

struct HiveChoice {
  std::string_view abbreviation;  // written in the entry
  std::string_view name;          // shown on the hive's radio button
};

// In the editor's order; an entry naming no hive of these is the current
// user's, the last row.
inline constexpr std::array<HiveChoice, 5> kHiveChoices{{
    {"HKLM", "HKEY_LOCAL_MACHINE"},
    {"HKCR", "HKEY_CLASSES_ROOT"},
    {"HKU", "HKEY_USERS"},
    {"HKCC", "HKEY_CURRENT_CONFIG"},
    {"HKCU", "HKEY_CURRENT_USER"},
}};

struct RegistryKeyChoice {
  std::size_t hive = kHiveChoices.size() - 1;  // index into kHiveChoices
  bool view64 = false;
  std::string path;  // below the hive
  SubkeyMode mode = SubkeyMode::kNone;

  bool operator==(const RegistryKeyChoice&) const = default;
};

// "HKLMx64\SOFTWARE\Run\*": the abbreviation, "x64" for the 64-bit view,
// "\" and the path when there is one, and for the subkey modes a "\" (unless
// the text ends in one) and "*" or "**".
std::string ComposeKeyEntry(const RegistryKeyChoice& choice);
// The reverse: the hive part is the text before the first "\", the path is
// trimmed at its end and loses its "*"/"**" suffix and trailing "\".
RegistryKeyChoice ParseKeyChoice(std::string_view entry);

struct RegistryTemplate {
  bool enabled = true;  // a new template starts enabled
  std::string output_file;
  std::vector<std::string> columns;  // value names and symbols
  std::vector<std::string> keys;     // key entries
};

// The template's keys as a run reads them: the columns split at every ",",
// the key list by its own rule.
RegistryTemplate ReadRegistryTemplate(platform::Profile& profile, const std::string& path,
                                      std::string_view name);
// Enabled, OutputFileName, OutputColumns and OutputKeys, lists joined by ",".
std::vector<TemplateValue> RegistryTemplateValues(const RegistryTemplate& t);

}  // namespace tabulon::ui
