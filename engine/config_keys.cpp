#include "engine/config_keys.h"

#include <array>
#include <string>

#include "engine/catalogue.h"
#include "engine/template_kinds.h"
#include "platform/text.h"

namespace tabulon {
namespace {

constexpr KeyKind I = KeyKind::kInteger;
constexpr KeyKind T = KeyKind::kText;

// clang-format off
constexpr std::array kKeys{
    ConfigKey{"General", "ConfigurationName", T, nullptr, ""},
    ConfigKey{"General", "ObjectFile", T, "", nullptr},
    ConfigKey{"General", "ComputerSource", I, "1", "1"},
    ConfigKey{"General", "MergeBrowseList", I, "1", nullptr},
    ConfigKey{"General", "DefaultOutputDirectory", T, "", ""},
    ConfigKey{"General", "Delimiter", T, "\\t", "\\t"},
    ConfigKey{"General", "SecondaryDelimiter", T, "^", "^"},
    ConfigKey{"General", "CrLfReplacement", T, "~", "~"},
    ConfigKey{"General", "LineTerminator", T, "\\n", "\\n"},
    ConfigKey{"General", "AppendOutput", I, "0", "0"},
    ConfigKey{"General", "UnicodeOutput", I, "0", "0"},
    ConfigKey{"General", "WriteTitles", I, "1", "1"},
    ConfigKey{"General", "EnableLogging", I, "0", "0"},
    ConfigKey{"General", "LogSuccess", I, "1", "1"},
    ConfigKey{"General", "LogFailure", I, "1", "1"},
    ConfigKey{"General", "VerboseProgress", I, "1", "1"},
    ConfigKey{"General", "OpenOutputWindow", I, "1", "1"},
    ConfigKey{"General", "AppendLog", I, "1", "1"},
    ConfigKey{"General", "LogFileName", T, "Export.log", "Export.log"},
    ConfigKey{"General", "KeepRowsWhole", I, "1", "1"},
    ConfigKey{"General", "SpreadsheetSafe", I, "0", "0"},
    ConfigKey{"General", "RegistryCfgFile", T, TemplateKindInfo(TemplateKind::kRegistry).default_file, nullptr},
    ConfigKey{"General", "AdCfgSchemaFile", T, TemplateKindInfo(TemplateKind::kDirectorySchema).default_file, nullptr},
    ConfigKey{"General", "AdCfgQueryFile", T, TemplateKindInfo(TemplateKind::kDirectory).default_file, nullptr},
    ConfigKey{"General", "WmiCfgQueryFile", T, TemplateKindInfo(TemplateKind::kWmi).default_file, nullptr},
    ConfigKey{"General", "FileCfgFile", T, TemplateKindInfo(TemplateKind::kFile).default_file, nullptr},
    ConfigKey{"Advanced", "UserCustomDateFormat", T, "", nullptr},
    ConfigKey{"Advanced", "UserCustomTimeFormat", T, "", nullptr},
    ConfigKey{"Templates", "RegistryTemplates", T, "", ""},
    ConfigKey{"Templates", "WmiTemplates", T, "", ""},
    ConfigKey{"Templates", "FileTemplates", T, "", ""},
    ConfigKey{"Templates", "DirectoryTemplates", T, "", ""},
    ConfigKey{"Computers", "PingEnable", I, "1", "1"},
    ConfigKey{"Computers", "PingType", I, "0", "1"},
    ConfigKey{"Computers", "PingTimeout", I, "50", "500"},
    ConfigKey{"Computers", "PingTTL", I, "30", "20"},
    ConfigKey{"Computers", "PingRetry", I, "1", nullptr},
    ConfigKey{"Computers", "PingRetryMultiplier", I, "1", nullptr},
    ConfigKey{"Computers", "PingHideProgressErrors", I, "0", "0"},
    ConfigKey{"Computers", "UseNetbiosName", I, "0", "0"},
    ConfigKey{"Computers", "SkipDisabled", I, "0", "0"},
    ConfigKey{"Computers", "FilteringEnable", I, "0", "0"},
    ConfigKey{"Computers", "FilteringType", I, "0", "0"},
    ConfigKey{"Computers", "SkipEnable", I, "0", "0"},
    ConfigKey{"Computers", "SkipFileName", T, "", ""},
    ConfigKey{"Services", "ServiceType", I, "2", "2"},
    ConfigKey{"Services", "ServiceState", I, "2", "2"},
    ConfigKey{"Services", "ExportSpecificServices", I, "0", "0"},
    ConfigKey{"Services", "SpecificFileName", T, "", ""},
    ConfigKey{"Shares", "ShowFileShares", I, "1", "1"},
    ConfigKey{"Shares", "ShowPrintShares", I, "1", "1"},
    ConfigKey{"Shares", "ShowAdminShares", I, "1", "1"},
    ConfigKey{"Shares", "ShowHiddenShares", I, "1", "1"},
    ConfigKey{"Drives", "DrivesMask", T, "", ""},
    ConfigKey{"Drives", "DrivesFormat", I, "1", "0"},
    ConfigKey{"Groups", "ExportUnresolvedSids", I, "0", "0"},
    ConfigKey{"Groups", "ExportEmptyGroups", I, "0", "0"},
    ConfigKey{"Groups", "ExportNestedGroups", I, "0", "0"},
    ConfigKey{"Groups", "ExportDisabledUsers", I, "1", "1"},
    ConfigKey{"Groups", "ExportSpecificGroups", I, "0", "0"},
    ConfigKey{"Groups", "SpecificFileName", T, "", ""},
    ConfigKey{"Users", "GetLogonInformation", I, "0", "0"},
    ConfigKey{"Users", "LastLogonType", I, "0", "0"},
    ConfigKey{"Users", "SkipSpecifiedDomainControllers", I, "0", "0"},
    ConfigKey{"Security", "ExportShareSecurity", I, "0", "0"},
    ConfigKey{"Security", "ExportShareSecurityFile", I, "1", "1"},
    ConfigKey{"Security", "ExportShareSecurityPrinter", I, "1", "1"},
    ConfigKey{"Security", "ExportShareSecurityAdmin", I, "1", "1"},
    ConfigKey{"Security", "ExportShareSecurityHidden", I, "1", "1"},
    ConfigKey{"Security", "ExportShareSecurityFolder", I, "1", "1"},
    ConfigKey{"Security", "ExportOwnerSecurity", I, "0", "0"},
    ConfigKey{"Security", "ExportPrinterSecurity", I, "0", "0"},
    ConfigKey{"Security", "ExportServiceSecurity", I, "0", "0"},
    ConfigKey{"Security", "ExportRegistrySecurity", I, "0", "0"},
    ConfigKey{"Security", "ExportFileSecurity", I, "0", "0"},
    ConfigKey{"Security", "ExportSpecificTrustees", I, "0", "0"},
    ConfigKey{"Security", "SpecificFileName", T, "", ""},
    ConfigKey{"AD", "EnableAdPhotoExporting", I, "0", "0"},
    ConfigKey{"AD", "PhotoFileOutputPath", T, "", ""},
    ConfigKey{"AD", "PhotoFileExtension", T, ".jpg", ".jpg"},
    ConfigKey{"Platform", "Estate", T, "", nullptr},
    ConfigKey{"Platform", "Credentials", T, "", nullptr},
    ConfigKey{"Platform", "LocalShares", T, "", nullptr},
    ConfigKey{"Platform", "Kerberos", I, "0", nullptr},
    ConfigKey{"Platform", "Timeout", I, "60", nullptr},
    ConfigKey{"Platform", "DirectoryServer", T, "", nullptr},
    ConfigKey{"Platform", "DirectoryCaFile", T, "", nullptr},
    ConfigKey{"Platform", "DirectoryStartTls", I, "0", nullptr},
};
// clang-format on

}  // namespace

std::span<const ConfigKey> GeneralConfigKeys() {
  return kKeys;
}

std::vector<ConfigKey> PerTypeKeys() {
  std::vector<ConfigKey> keys;
  // The default column lists live in the catalogue; keep their texts alive
  // for the program's lifetime so the table can point at them.
  static const std::array<std::string, kExportTypeCount> kDefaults = [] {
    std::array<std::string, kExportTypeCount> d;
    for (std::uint32_t t = 0; t < kExportTypeCount; ++t) d[t] = DefaultColumnList(t);
    return d;
  }();
  for (std::uint32_t t = 0; t < kExportTypeCount; ++t) {
    const ExportTypeDescriptor& d = ExportTypeInfo(t);
    if (d.section.empty()) continue;
    keys.push_back({d.section, d.enable_key, KeyKind::kInteger, "0", "0"});
    keys.push_back({d.section, d.output_file_key, KeyKind::kText, "", ""});
    keys.push_back(
        {d.section, d.columns_key, KeyKind::kText, kDefaults[t].c_str(), kDefaults[t].c_str()});
  }
  return keys;
}

std::optional<ConfigKey> FindConfigKey(std::string_view section, std::string_view key) {
  for (const ConfigKey& k : kKeys) {
    if (text::EqualsNoCase(k.section, section) && text::EqualsNoCase(k.key, key)) return k;
  }
  for (const ConfigKey& k : PerTypeKeys()) {
    if (text::EqualsNoCase(k.section, section) && text::EqualsNoCase(k.key, key)) return k;
  }
  return std::nullopt;
}

std::string_view RunDefault(std::string_view section, std::string_view key) {
  const std::optional<ConfigKey> entry = FindConfigKey(section, key);
  return entry && entry->run_default != nullptr ? entry->run_default : "";
}

}  // namespace tabulon
