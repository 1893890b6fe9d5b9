#include "engine/run_settings.h"

namespace tabulon {
namespace {

std::uint32_t ServiceTypeFilter(std::int32_t setting) {
  switch (setting) {
    case 0:
      return 3;  // drivers
    case 1:
      return 48;  // services
    default:
      return 51;
  }
}

std::uint32_t ServiceStateFilter(std::int32_t setting) {
  switch (setting) {
    case 0:
      return 1;  // active
    case 1:
      return 2;  // inactive
    default:
      return 3;
  }
}

bool On(const Configuration& c, std::string_view section, std::string_view key, int def) {
  return c.ReadInt(section, key, def) != 0;
}

}  // namespace

void ReadRunSettings(const Configuration& config, RunOptions& options, OutputSettings& output,
                     format::FormatSettings& format) {
  for (std::uint32_t t = 0; t < kExportTypeCount; ++t) {
    const ExportTypeDescriptor& d = ExportTypeInfo(t);
    if (!d.section.empty()) options.enabled[t] = config.ReadInt(d.section, d.enable_key, 0) != 0;
  }
  const bool suppress = output.suppress_messages;
  output = ReadOutputSettings(config);
  output.suppress_messages = suppress;
  options.open_output_window = On(config, "General", "OpenOutputWindow", 1);

  TargetOptions& t = options.targets;
  t.ping_enable = On(config, "Computers", "PingEnable", 1);
  t.filtering_enable = On(config, "Computers", "FilteringEnable", 0);
  t.use_netbios_name = On(config, "Computers", "UseNetbiosName", 0);
  t.skip_enable = On(config, "Computers", "SkipEnable", 0);
  t.computer_source = config.ReadInt("General", "ComputerSource", 1);
  t.merge_browse_list = On(config, "General", "MergeBrowseList", 1);
  t.skip_disabled = On(config, "Computers", "SkipDisabled", 0);
  if (t.filtering_enable) t.filtering_type = config.ReadInt("Computers", "FilteringType", 0);
  if (t.ping_enable) {
    t.ping_type = config.ReadInt("Computers", "PingType", 0);
    t.ping_ttl = config.ReadInt("Computers", "PingTTL", 30);
    t.ping_timeout = config.ReadInt("Computers", "PingTimeout", 50);
    t.ping_retry = config.ReadInt("Computers", "PingRetry", 1);
    t.ping_retry_multiplier = config.ReadInt("Computers", "PingRetryMultiplier", 1);
    t.ping_hide_progress_errors = On(config, "Computers", "PingHideProgressErrors", 0);
  }

  PhotoOptions& p = options.photos;
  p.enable = On(config, "AD", "EnableAdPhotoExporting", 0);
  p.output_path = config.ReadText("AD", "PhotoFileOutputPath", "");
  p.extension = config.ReadText("AD", "PhotoFileExtension", ".jpg");
  if (!p.extension.starts_with(".")) p.extension = "." + p.extension;

  format.custom_date_format = config.ReadText("Advanced", "UserCustomDateFormat", "");
  format.custom_time_format = config.ReadText("Advanced", "UserCustomTimeFormat", "");
  format.secondary_delimiter = output.secondary_delimiter;

  SecurityOptions& s = options.security;
  if (options.is_enabled(kSecurity)) {
    s.share = On(config, "Security", "ExportShareSecurity", 0);
    s.share_file = On(config, "Security", "ExportShareSecurityFile", 1);
    s.share_printer = On(config, "Security", "ExportShareSecurityPrinter", 1);
    s.share_admin = On(config, "Security", "ExportShareSecurityAdmin", 1);
    s.share_hidden = On(config, "Security", "ExportShareSecurityHidden", 1);
    s.share_folder = On(config, "Security", "ExportShareSecurityFolder", 1);
    s.owner = On(config, "Security", "ExportOwnerSecurity", 0);
    s.printer = On(config, "Security", "ExportPrinterSecurity", 0);
    s.service = On(config, "Security", "ExportServiceSecurity", 0);
    s.registry = On(config, "Security", "ExportRegistrySecurity", 0);
    s.file = On(config, "Security", "ExportFileSecurity", 0);
    s.specific_trustees = config.ReadInt("Security", "ExportSpecificTrustees", 0) == 1;
  }

  if (options.is_enabled(kServices)) {
    options.services.type = ServiceTypeFilter(config.ReadInt("Services", "ServiceType", 2));
    options.services.state = ServiceStateFilter(config.ReadInt("Services", "ServiceState", 2));
  }

  if (options.is_enabled(kShares) || options.is_enabled(kShareConnections) || s.share) {
    ShareOptions& sh = options.shares;
    sh.show_file = On(config, "Shares", "ShowFileShares", 1);
    sh.show_print = On(config, "Shares", "ShowPrintShares", 1);
    sh.show_hidden = On(config, "Shares", "ShowHiddenShares", 1);
    sh.show_admin = On(config, "Shares", "ShowAdminShares", 1);
  }

  if (options.is_enabled(kGroups) || options.is_enabled(kGroupMembers)) {
    GroupOptions& g = options.groups;
    g.unresolved_sids = On(config, "Groups", "ExportUnresolvedSids", 0);
    g.empty_groups = On(config, "Groups", "ExportEmptyGroups", 0);
    g.nested_groups = On(config, "Groups", "ExportNestedGroups", 0);
    g.disabled_users = On(config, "Groups", "ExportDisabledUsers", 1);
    g.specific_groups = config.ReadInt("Groups", "ExportSpecificGroups", 0) == 1;
  }

  if (options.is_enabled(kDrives)) {
    options.drives.mask = config.ReadText("Drives", "DrivesMask", "");
    options.drives.size_format = config.ReadInt("Drives", "DrivesFormat", 1);
  }

  options.registry_templates = config.ReadTemplateList("RegistryTemplates");
  options.wmi_templates = config.ReadTemplateList("WmiTemplates");
  options.file_templates = config.ReadTemplateList("FileTemplates");
  options.directory_templates = config.ReadTemplateList("DirectoryTemplates");
}

bool ComputersNeeded(const RunOptions& o) {
  for (ExportType type :
       {kServices,     kComputers,    kShares,  kShareConnections, kSessions,  kTseSessions,
        kTseProcesses, kOpenFiles,    kDrives,  kNetwork,          kProtocols, kPrinters,
        kGroups,       kGroupMembers, kUsers,   kUserGroups,       kTasks,     kTasksNew,
        kRights,       kPolicies,     kLoggedOn}) {
    if (o.is_enabled(type)) return true;
  }
  if (!o.registry_templates.empty() || !o.wmi_templates.empty() || !o.file_templates.empty()) {
    return true;
  }
  const SecurityOptions& s = o.security;
  return s.service || s.printer || s.share || s.registry || s.file;
}

TemplateFiles ReadTemplateFileNames(const Configuration& config, RunOutput& output) {
  auto read = [&](std::string_view key, std::string_view def) {
    std::string name = config.ReadText("General", key, def);
    if (name.empty()) name = std::string(def);
    return output.ResolveOutputName(name, false);
  };
  TemplateFiles files;
  files.registry = read("RegistryCfgFile", "RegTemplates.CFG");
  files.directory_schema = read("AdCfgSchemaFile", "DirectorySchema.CFG");
  files.directory_queries = read("AdCfgQueryFile", "DirectoryQueries.CFG");
  files.wmi_queries = read("WmiCfgQueryFile", "WmiQueries.CFG");
  files.file_templates = read("FileCfgFile", "FileTemplates.CFG");
  return files;
}

}  // namespace tabulon
