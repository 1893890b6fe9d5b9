#include "engine/config_keys.h"

#include <algorithm>
#include <array>
#include <string>

#include "engine/catalogue.h"
#include "engine/config_key_table.h"
#include "platform/text.h"

namespace tabulon {
namespace {

constexpr std::array<std::string_view, kConfigPageCount> kPageTitles{
    "General",
    "Output",
    "Services",
    "Computers",
    "Shares",
    "Registry",
    "Drives",
    "Printers",
    "Local Groups",
    "Local Users",
    "Active Directory",
    "Security",
    "WMI",
    "Files and Directories",
    "Other",
    "Platform",
    "Export Configuration Properties",
    "Export Configuration File Locations",
};

// The per-type keys, built once from the export type table: constant for
// the program's lifetime, like the table itself.
struct PerTypeTable {
  std::array<std::string, kExportTypeCount> default_columns;
  std::array<std::string, kExportTypeCount> enable_help;
  std::array<std::string, kExportTypeCount> file_help;
  std::array<std::string, kExportTypeCount> columns_help;
  std::vector<ConfigKey> keys;

  PerTypeTable() {
    for (std::uint32_t t = 0; t < kExportTypeCount; ++t) {
      const ExportTypeDescriptor& d = ExportTypeInfo(t);
      if (d.section.empty()) continue;
      const std::string name(d.display_name);
      default_columns[t] = DefaultColumnList(t);
      enable_help[t] = "Export " + name + ".";
      file_help[t] = name + " output file; empty: " + std::string(d.default_file_name) + ".";
      columns_help[t] = "Columns of the " + name + " file, in order.";
    }
    for (std::uint32_t t = 0; t < kExportTypeCount; ++t) {
      const ExportTypeDescriptor& d = ExportTypeInfo(t);
      if (d.section.empty()) continue;
      const auto page = static_cast<ConfigPage>(d.page_index);
      keys.push_back(ConfigKey{d.section, d.enable_key, KeyKind::kSwitch, "0", "0", page,
                               "Enable Exporting", enable_help[t]});
      keys.push_back(ConfigKey{d.section, d.output_file_key, KeyKind::kFileName, "", "", page,
                               "Output File Name", file_help[t]});
      keys.push_back(ConfigKey{d.section, d.columns_key, KeyKind::kColumnList,
                               default_columns[t].c_str(), default_columns[t].c_str(), page,
                               "Output Columns", columns_help[t]});
    }
  }
};

const PerTypeTable& PerType() {
  static const PerTypeTable table;
  return table;
}

}  // namespace

std::string_view PageTitle(ConfigPage page) {
  const auto index = static_cast<std::uint32_t>(page);
  return index < kPageTitles.size() ? kPageTitles[index] : std::string_view();
}

std::span<const ConfigKey> GeneralConfigKeys() {
  return key_table::kKeys;
}

std::span<const ConfigKey> PerTypeKeys() {
  return PerType().keys;
}

std::optional<ConfigKey> FindConfigKey(std::string_view section, std::string_view key) {
  for (std::span<const ConfigKey> list : {GeneralConfigKeys(), PerTypeKeys()}) {
    for (const ConfigKey& k : list) {
      if (text::EqualsNoCase(k.section, section) && text::EqualsNoCase(k.key, key)) return k;
    }
  }
  return std::nullopt;
}

std::string_view RunDefault(std::string_view section, std::string_view key) {
  const std::optional<ConfigKey> entry = FindConfigKey(section, key);
  return entry && entry->run_default != nullptr ? entry->run_default : "";
}

std::int32_t SettingValue(const ConfigKey& key, std::int32_t read) {
  switch (key.kind) {
    case KeyKind::kSwitch:
      return (key.on_is_one ? read == 1 : read != 0) ? 1 : 0;
    case KeyKind::kNumber:
      return std::clamp(read, key.range.min, key.range.max);
    case KeyKind::kChoice: {
      const bool listed = std::any_of(key.choices.begin(), key.choices.end(),
                                      [read](const KeyChoice& c) { return c.value == read; });
      return listed || !key.others ? read : *key.others;
    }
    default:
      return read;
  }
}

}  // namespace tabulon
