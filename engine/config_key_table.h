#pragma once
// The rows of the configuration key table (engine/config_keys.h): every key
// of the configuration that is not a per-type key of the export type table.
// Constant data, so that limits (engine/setting_limits.h) can be taken from
// it at compile time.
#include <array>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "engine/config_keys.h"
#include "engine/setting_values.h"
#include "engine/template_kinds.h"
#include "format/numbers.h"

namespace tabulon::key_table {

template <typename E>
constexpr std::int32_t V(E value) {
  return static_cast<std::int32_t>(value);
}

inline constexpr std::array kComputerSourceChoices{
    KeyChoice{V(ComputerSource::kAccountDatabase),
              "Windows NT : Get computers from SAM (domain) database"},
    KeyChoice{V(ComputerSource::kBrowseList), "Get computers from Windows browse list"},
};
inline constexpr std::array kPingMethodChoices{
    KeyChoice{V(PingMethod::kRawSocket), "Raw sockets"},
    KeyChoice{V(PingMethod::kSystemEcho), "System ICMP echo functions"},
};
inline constexpr std::array kServiceTypeChoices{
    KeyChoice{V(ServiceTypeChoice::kDriversOnly), "Drivers Only"},
    KeyChoice{V(ServiceTypeChoice::kServicesOnly), "Services Only"},
    KeyChoice{V(ServiceTypeChoice::kDriversAndServices), "Drivers and Services"},
};
inline constexpr std::array kServiceStateChoices{
    KeyChoice{V(ServiceStateChoice::kActiveOnly), "Active Only"},
    KeyChoice{V(ServiceStateChoice::kInactiveOnly), "Inactive Only"},
    KeyChoice{V(ServiceStateChoice::kActiveAndInactive), "Active and Inactive"},
};
// The size modes of the drive space columns; other modes pass as read.
inline constexpr std::array kDrivesFormatChoices{
    KeyChoice{format::kSizeAutomatic, "MB / GB"},
    KeyChoice{format::kSizeBytes, "Bytes"},
    KeyChoice{format::kSizeMegabytes, "MB Only"},
    KeyChoice{format::kSizeGigabytes, "GB Only"},
};
inline constexpr std::array kLastLogonChoices{
    KeyChoice{V(LastLogonChoice::kCombined),
              "Export combined/last logon information from all domain controllers"},
    KeyChoice{V(LastLogonChoice::kEachController),
              "Export user attributes from each domain controller separately"},
};
// Server-type bits: a computer passes the filter when it has one of those set.
inline constexpr std::array kComputerFilterFlags{
    KeyChoice{0x8, "&Primary Domain Controller (PDC)"},
    KeyChoice{0x10, "&Backup Domain Controller (BDC)"},
    KeyChoice{0x8000, "&NT Server (non domain controller)"},
    KeyChoice{0x1000, "NT &Computer (any type)"},
    KeyChoice{0x400000, "&Windows ('95 or later)"},
    KeyChoice{0x2000, "Windows for Work&groups (or later)"},
    KeyChoice{0x200, "P&rint Server"},
    KeyChoice{0x400, "&Dialin Server"},
    KeyChoice{0x4, "S&QL Server"},
    KeyChoice{0x800000, "D&fs"},
    KeyChoice{0x2000000, "&Terminal Server"},
    KeyChoice{0x1000000 | 0x4000000, "C&luster Server"},
    KeyChoice{0x2, "Ser&ver"},
    KeyChoice{0x1, "Wor&kstation"},
    KeyChoice{0x10000, "P&otential Browser"},
    KeyChoice{0x20000, "B&ackup Browser"},
    KeyChoice{0x40000, "&Master Browser"},
    KeyChoice{0x80000, "&Domain Master Browser"},
};

using P = ConfigPage;

constexpr ConfigKey Key(std::string_view section, std::string_view key, KeyKind kind,
                        const char* run, const char* editor, ConfigPage page,
                        std::string_view label, std::string_view help) {
  return ConfigKey{section, key, kind, run, editor, page, label, help, {0, 0}, {}, {}, false};
}
constexpr ConfigKey Switch(std::string_view section, std::string_view key, const char* run,
                           const char* editor, ConfigPage page, std::string_view label,
                           std::string_view help) {
  return Key(section, key, KeyKind::kSwitch, run, editor, page, label, help);
}
// A switch that only the value 1 turns on.
constexpr ConfigKey SwitchOne(std::string_view section, std::string_view key, ConfigPage page,
                              std::string_view label, std::string_view help) {
  ConfigKey k = Switch(section, key, "0", "0", page, label, help);
  k.on_is_one = true;
  return k;
}
constexpr ConfigKey Number(std::string_view section, std::string_view key, const char* run,
                           const char* editor, ConfigPage page, std::string_view label,
                           std::string_view help, KeyRange range) {
  ConfigKey k = Key(section, key, KeyKind::kNumber, run, editor, page, label, help);
  k.range = range;
  return k;
}
constexpr ConfigKey Choice(std::string_view section, std::string_view key, const char* run,
                           const char* editor, ConfigPage page, std::string_view label,
                           std::string_view help, std::span<const KeyChoice> choices,
                           std::optional<std::int32_t> others) {
  ConfigKey k = Key(section, key, KeyKind::kChoice, run, editor, page, label, help);
  k.choices = choices;
  k.others = others;
  return k;
}
constexpr ConfigKey Flags(std::string_view section, std::string_view key, const char* run,
                          const char* editor, ConfigPage page, std::string_view label,
                          std::string_view help, std::span<const KeyChoice> flags) {
  ConfigKey k = Key(section, key, KeyKind::kFlags, run, editor, page, label, help);
  k.choices = flags;
  return k;
}

constexpr KeyKind kText = KeyKind::kText;
constexpr KeyKind kDelimiter = KeyKind::kDelimiterText;
constexpr KeyKind kFile = KeyKind::kFileName;
constexpr KeyKind kFolder = KeyKind::kFolder;
constexpr KeyKind kList = KeyKind::kListFile;
constexpr KeyKind kTemplates = KeyKind::kTemplateList;

constexpr const char* TemplateFile(TemplateKind kind) {
  return TemplateKindInfo(kind).default_file;
}

// clang-format off
inline constexpr std::array kKeys{
    Key("General", "ConfigurationName", kText, nullptr, "", P::kProperties, "Configuration Name",
        "Name of the configuration in window titles and configuration lists."),
    Key("General", "ObjectFile", kFile, "", nullptr, P::kFileLocations, "Object File Name",
        "Object file listing the domains, computers and containers to export."),
    Choice("General", "ComputerSource", "1", "1", P::kGeneral, "Domain Computer Retrieval Method",
           "Where the computers of a domain come from; the account database of a Windows 200x domain is its directory.",
           kComputerSourceChoices, V(ComputerSource::kBrowseList)),
    Switch("General", "MergeBrowseList", "1", nullptr, P::kGeneral, "Merge Browse List Information",
           "Computers from the account database or the directory take comment, versions and type from the browse list."),
    Number("General", "ParallelTargets", "1", "1", P::kGeneral, "Targets at Once",
           "How many targets are exported at the same time; the files are those of one at a time.",
           {1, 128}),
    Key("General", "DefaultOutputDirectory", kFolder, "", "", P::kOutput, "Default Output Directory",
        "Folder of the output files whose names have no folder."),
    Key("General", "Delimiter", kDelimiter, "\\t", "\\t", P::kOutput, "Field Delimiter",
        "Separates the fields of output rows and log lines."),
    Key("General", "SecondaryDelimiter", kText, "^", "^", P::kOutput, "Secondary Delimiter",
        "Separates the items of a field with several values; taken as written."),
    Key("General", "CrLfReplacement", kText, "~", "~", P::kOutput, "Line Break Replacement",
        "Stands for line breaks inside values; taken as written."),
    Key("General", "LineTerminator", kDelimiter, "\\n", "\\n", P::kOutput, "Line Terminator",
        "Ends every output row and log line."),
    Switch("General", "AppendOutput", "0", "0", P::kOutput, "Append to Existing Output Files",
           "Add rows to existing output files instead of replacing them."),
    Switch("General", "UnicodeOutput", "0", "0", P::kOutput, "Unicode Output",
           "Write output files as UTF-16 with a byte-order mark."),
    Switch("General", "WriteTitles", "1", "1", P::kOutput, "Write Column Titles",
           "Begin every new output file with a title row."),
    Switch("General", "EnableLogging", "0", "0", P::kOutput, "Enable Logging",
           "Write the log file."),
    Switch("General", "LogSuccess", "1", "1", P::kOutput, "Log Successful Operations",
           "Write a log line for every operation that succeeds."),
    Switch("General", "LogFailure", "1", "1", P::kOutput, "Log Failed Operations",
           "Write a log line for every operation that fails."),
    Switch("General", "VerboseProgress", "1", "1", P::kOutput, "Verbose Progress Messages",
           "Show detailed progress messages while the export runs."),
    Switch("General", "OpenOutputWindow", "1", "1", P::kOutput, "Show Output Files When Done",
           "List the output files when the export ends."),
    Switch("General", "AppendLog", "1", "1", P::kOutput, "Append to Existing Log File",
           "Add lines to an existing log file instead of replacing it."),
    Key("General", "LogFileName", kFile, "Export.log", "Export.log", P::kOutput, "Log File Name",
        "Log file; a name without a folder goes to the default output directory."),
    Switch("General", "KeepRowsWhole", "1", "1", P::kOutput, "Keep Rows Whole",
           "Replace line breaks, TABs and delimiters inside values so that every row keeps its columns."),
    Switch("General", "SpreadsheetSafe", "0", "0", P::kOutput, "Spreadsheet Safe",
           "Put an apostrophe before values a spreadsheet would run as formulas."),
    Key("General", "RegistryCfgFile", kFile, TemplateFile(TemplateKind::kRegistry), nullptr, P::kFileLocations,
        "Registry Template File", "File of the registry templates; empty: the default file."),
    Key("General", "AdCfgSchemaFile", kFile, TemplateFile(TemplateKind::kDirectorySchema), nullptr, P::kFileLocations,
        "Directory Schema File", "File of the directory schema definitions; empty: the default file."),
    Key("General", "AdCfgQueryFile", kFile, TemplateFile(TemplateKind::kDirectory), nullptr, P::kFileLocations,
        "Directory Query File", "File of the directory query templates; empty: the default file."),
    Key("General", "WmiCfgQueryFile", kFile, TemplateFile(TemplateKind::kWmi), nullptr, P::kFileLocations,
        "WMI Query File", "File of the WMI query templates; empty: the default file."),
    Key("General", "FileCfgFile", kFile, TemplateFile(TemplateKind::kFile), nullptr, P::kFileLocations,
        "File/Directory Template File", "File of the file/directory templates; empty: the default file."),
    Key("Advanced", "UserCustomDateFormat", kText, "", nullptr, P::kOutput, "Custom Date Format",
        "Date format of exported dates; empty: the locale's."),
    Key("Advanced", "UserCustomTimeFormat", kText, "", nullptr, P::kOutput, "Custom Time Format",
        "Time format of exported times; empty: the locale's."),
    Key("Templates", "RegistryTemplates", kTemplates, "", "", P::kRegistry, "Enabled Registry Templates",
        "Registry templates the export runs."),
    Key("Templates", "WmiTemplates", kTemplates, "", "", P::kWmi, "Enabled WMI Queries",
        "WMI query templates the export runs."),
    Key("Templates", "FileTemplates", kTemplates, "", "", P::kFilesAndDirectories, "Enabled File/Directory Templates",
        "File/directory templates the export runs."),
    Key("Templates", "DirectoryTemplates", kTemplates, "", "", P::kActiveDirectory, "Enabled Directory Queries",
        "Directory query templates the export runs."),
    Switch("Computers", "PingEnable", "1", "1", P::kGeneral, "Ping Computers",
           "Ping each computer before exporting it; one that does not answer is skipped."),
    Choice("Computers", "PingType", "0", "1", P::kGeneral, "Ping Method",
           "How the echo request is sent.", kPingMethodChoices, V(PingMethod::kSystemEcho)),
    Number("Computers", "PingTimeout", "50", "500", P::kGeneral, "Max Timeout",
           "Milliseconds one echo reply may take.", {0, 60000}),
    Number("Computers", "PingTTL", "30", "20", P::kGeneral, "Max TTL (hops)",
           "Time-to-live of the echo request.", {0, 255}),
    Number("Computers", "PingRetry", "1", nullptr, P::kGeneral, "Ping Attempts",
           "Echo requests per computer; 0 makes every ping fail.", {0, 10}),
    Number("Computers", "PingRetryMultiplier", "1", nullptr, P::kGeneral, "Timeout Multiplier",
           "The timeout is multiplied by this after each failed attempt.", {0, 10}),
    Switch("Computers", "PingHideProgressErrors", "0", "0", P::kGeneral, "Hide Ping Failures",
           "Show no progress message when a ping fails."),
    Switch("Computers", "UseNetbiosName", "0", "0", P::kGeneral, "Use NetBIOS Names",
           "Reach computers found in the directory by their NetBIOS name, not their DNS host name."),
    Switch("Computers", "SkipDisabled", "0", "0", P::kGeneral, "Skip Disabled Computers",
           "Skip computers whose directory account is disabled."),
    Switch("Computers", "FilteringEnable", "0", "0", P::kGeneral, "Enable Computer Filtering",
           "Export only the computers of the types chosen in the computer filter."),
    Flags("Computers", "FilteringType", "0", "0", P::kGeneral, "Computer Filter",
          "A computer passes when it has one of the chosen types.", kComputerFilterFlags),
    Switch("Computers", "SkipEnable", "0", "0", P::kGeneral, "Skip Computers Listed in File:",
           "Skip the computers named in the skip file."),
    Key("Computers", "SkipFileName", kList, "", "", P::kGeneral, "Skip File",
        "Names of the computers to skip, one a line."),
    Choice("Services", "ServiceType", "2", "2", P::kServices, "Service Types",
           "Which kinds of service are exported.", kServiceTypeChoices,
           V(ServiceTypeChoice::kDriversAndServices)),
    Choice("Services", "ServiceState", "2", "2", P::kServices, "Service States",
           "Which services are exported by their state.", kServiceStateChoices,
           V(ServiceStateChoice::kActiveAndInactive)),
    SwitchOne("Services", "ExportSpecificServices", P::kServices, "Export Listed Services Only",
              "Export only the services named in the service list file."),
    Key("Services", "SpecificFileName", kList, "", "", P::kServices, "Service List File",
        "Names of the services to export, one a line."),
    Switch("Shares", "ShowFileShares", "1", "1", P::kShares, "Standard Disk Shares",
           "Export standard disk shares."),
    Switch("Shares", "ShowPrintShares", "1", "1", P::kShares, "Printer Shares",
           "Export printer shares."),
    Switch("Shares", "ShowAdminShares", "1", "1", P::kShares, "Administrative Shares",
           "Export administrative shares (C$, D$ and the like)."),
    Switch("Shares", "ShowHiddenShares", "1", "1", P::kShares, "Hidden Shares",
           "Export hidden shares (names ending in $)."),
    Key("Drives", "DrivesMask", kText, "", "", P::kDrives, "Drive Masks",
        "Drives to export, masks separated by ';'; empty: every drive."),
    Choice("Drives", "DrivesFormat", "1", "0", P::kDrives, "Drive Space Format",
           "How drive sizes are written.", kDrivesFormatChoices, std::nullopt),
    Switch("Groups", "ExportUnresolvedSids", "0", "0", P::kLocalGroups, "Include Unresolved SIDs",
           "Include members whose SID cannot be resolved to a name."),
    Switch("Groups", "ExportEmptyGroups", "0", "0", P::kLocalGroups, "Include Empty Groups",
           "Include groups that have no members."),
    Switch("Groups", "ExportNestedGroups", "0", "0", P::kLocalGroups, "Include Indirect (nested) Group Members",
           "Export the members of groups that are members."),
    Switch("Groups", "ExportDisabledUsers", "1", "1", P::kLocalGroups, "Include Disabled Users",
           "Include disabled user accounts."),
    SwitchOne("Groups", "ExportSpecificGroups", P::kLocalGroups, "Export Listed Groups Only",
              "Export only the groups named in the group list file."),
    Key("Groups", "SpecificFileName", kList, "", "", P::kLocalGroups, "Group List File",
        "Names of the groups to export, one a line."),
    Switch("Users", "GetLogonInformation", "0", "0", P::kLocalUsers,
           "Enable exporting user information from all domain controllers",
           "Read the users of a domain from every domain controller."),
    Choice("Users", "LastLogonType", "0", "0", P::kLocalUsers, "Domain Controller Information",
           "How the values of several domain controllers are exported.", kLastLogonChoices,
           V(LastLogonChoice::kEachController)),
    Switch("Users", "SkipSpecifiedDomainControllers", "0", "0", P::kLocalUsers,
           "Skip any domain controllers listed in computer 'skip' file as specified under 'General' export settings.",
           "Leave out the domain controllers named in the skip file."),
    Switch("Security", "ExportShareSecurity", "0", "0", P::kSecurity, "Share Security",
           "Export the access lists of shares."),
    Switch("Security", "ExportShareSecurityFile", "1", "1", P::kSecurity, "Standard Disk Shares",
           "Include standard disk shares."),
    Switch("Security", "ExportShareSecurityPrinter", "1", "1", P::kSecurity, "Printer Shares",
           "Include printer shares."),
    Switch("Security", "ExportShareSecurityAdmin", "1", "1", P::kSecurity, "Administrative Shares",
           "Include administrative shares."),
    Switch("Security", "ExportShareSecurityHidden", "1", "1", P::kSecurity, "Hidden Shares",
           "Include hidden shares."),
    Switch("Security", "ExportShareSecurityFolder", "1", "1", P::kSecurity, "Include shared disk folder NTFS security",
           "Export the access list of the folder behind each share."),
    Switch("Security", "ExportOwnerSecurity", "0", "0", P::kSecurity, "Owners",
           "Export the owner of every object."),
    Switch("Security", "ExportPrinterSecurity", "0", "0", P::kSecurity, "Printer Security",
           "Export the access lists of printers."),
    Switch("Security", "ExportServiceSecurity", "0", "0", P::kSecurity, "Service Security",
           "Export the access lists of services."),
    Switch("Security", "ExportRegistrySecurity", "0", "0", P::kSecurity, "Registry Security",
           "Export the access lists of the keys registry templates list."),
    Switch("Security", "ExportFileSecurity", "0", "0", P::kSecurity, "File Security",
           "Export the access lists of the files file/directory templates list."),
    SwitchOne("Security", "ExportSpecificTrustees", P::kSecurity, "Export Listed Trustees Only",
              "Export only the entries of the trustees named in the trustee list file."),
    Key("Security", "SpecificFileName", kList, "", "", P::kSecurity, "Trustee List File",
        "Names of the trustees to export, one a line."),
    SwitchOne("AD", "EnableAdPhotoExporting", P::kActiveDirectory, "Export user photos to individual files",
              "Write the photos of directory objects to files of their own."),
    Key("AD", "PhotoFileOutputPath", kFolder, "", "", P::kActiveDirectory, "Photo Output Folder",
        "Folder of the photo files; empty: the folder of the query's output file."),
    Key("AD", "PhotoFileExtension", kText, ".jpg", ".jpg", P::kActiveDirectory, "Photo File Extension",
        "Extension of the photo files; a '.' is put in front when missing."),
    Key("WMI", "ReferenceComputer", kText, nullptr, "", P::kWmi, "WMI Object Source Computer Name",
        "Computer whose WMI classes and properties the query editor lists; empty: this computer."),
    Key("Platform", "Estate", kFile, "", nullptr, P::kPlatform, "Estate File",
        "A simulated network the export works on; empty: real computers."),
    Key("Platform", "Credentials", kFile, "", nullptr, P::kPlatform, "Credentials File",
        "File with the account to log on as, readable by its owner only."),
    Key("Platform", "LocalShares", kText, "", nullptr, P::kPlatform, "Local Shares",
        "Shares read from local folders: \\\\SERVER\\share=folder entries separated by ';'."),
    Switch("Platform", "Kerberos", "0", nullptr, P::kPlatform, "Use Kerberos Tickets",
           "Log on with the Kerberos ticket cache instead of a password."),
    Number("Platform", "Timeout", "60", nullptr, P::kPlatform, "Call Timeout",
           "Seconds one remote call may take.", {1, 86400}),
    Key("Platform", "DirectoryServer", kText, "", nullptr, P::kPlatform, "Directory Server",
        "Server of every directory search, ldap:// or ldaps:// with host and port; empty: found from DNS."),
    Key("Platform", "DirectoryCaFile", kFile, "", nullptr, P::kPlatform, "Directory CA File",
        "Certificate authorities (PEM) that directory TLS connections verify against; empty: the system's."),
    Switch("Platform", "DirectoryStartTls", "0", nullptr, P::kPlatform, "Use StartTLS",
           "Switch ldap:// directory connections to TLS before binding."),
};
// clang-format on

// The row of `section`/`key`, exactly as the table spells them; a name it
// does not hold does not compile.
consteval const ConfigKey& Row(std::string_view section, std::string_view key) {
  for (const ConfigKey& k : kKeys) {
    if (k.section == section && k.key == key) return k;
  }
  throw std::logic_error("not a key of the table");
}

}  // namespace tabulon::key_table
