#include "engine/run_settings.h"

#include "engine/config_keys.h"
#include "engine/setting_values.h"
#include "engine/template_kinds.h"

namespace tabulon {

void ReadRunSettings(const Configuration& config, RunSettings& settings, OutputSettings& output,
                     format::FormatSettings& format) {
  for (std::uint32_t t = 0; t < kExportTypeCount; ++t) {
    const ExportTypeDescriptor& d = ExportTypeInfo(t);
    if (!d.section.empty())
      settings.enabled.enabled[t] = config.ReadSwitch(d.section, d.enable_key);
  }
  const bool suppress = output.suppress_messages;
  output = ReadOutputSettings(config);
  output.suppress_messages = suppress;
  settings.open_output_window = config.ReadSwitch("General", "OpenOutputWindow");

  TargetOptions& t = settings.targets;
  t.ping_enable = config.ReadSwitch("Computers", "PingEnable");
  t.filtering_enable = config.ReadSwitch("Computers", "FilteringEnable");
  t.use_netbios_name = config.ReadSwitch("Computers", "UseNetbiosName");
  t.skip_enable = config.ReadSwitch("Computers", "SkipEnable");
  t.computer_source = config.ReadChoice<ComputerSource>("General", "ComputerSource");
  t.merge_browse_list = config.ReadSwitch("General", "MergeBrowseList");
  t.skip_disabled = config.ReadSwitch("Computers", "SkipDisabled");
  if (t.filtering_enable) t.filtering_type = config.ReadSetting("Computers", "FilteringType");
  if (t.ping_enable) {
    t.ping_type = config.ReadChoice<PingMethod>("Computers", "PingType");
    t.ping_ttl = config.ReadNumber("Computers", "PingTTL");
    t.ping_timeout = config.ReadNumber("Computers", "PingTimeout");
    t.ping_retry = config.ReadNumber("Computers", "PingRetry");
    t.ping_retry_multiplier = config.ReadNumber("Computers", "PingRetryMultiplier");
    t.ping_hide_progress_errors = config.ReadSwitch("Computers", "PingHideProgressErrors");
  }

  format.custom_date_format = config.ReadSettingText("Advanced", "UserCustomDateFormat");
  format.custom_time_format = config.ReadSettingText("Advanced", "UserCustomTimeFormat");
  format.secondary_delimiter = output.secondary_delimiter;

  // At most a day (the key's range), which keeps the milliseconds in range.
  const std::int64_t seconds = config.ReadNumber("Platform", "Timeout");
  settings.call_timeout_ms = static_cast<std::uint32_t>(seconds * 1000);
  settings.parallel_targets = config.ReadNumber("General", "ParallelTargets");
  settings.directory_server = config.ReadSettingText("Platform", "DirectoryServer");
  settings.directory_ca_file = config.ReadSettingText("Platform", "DirectoryCaFile");
  settings.directory_start_tls = config.ReadSwitch("Platform", "DirectoryStartTls");
}

TemplateFiles ReadTemplateFileNames(const Configuration& config, RunOutput& output) {
  auto read = [&](TemplateKind kind) {
    const TemplateKindRow& row = TemplateKindInfo(kind);
    std::string name = config.ReadSettingText("General", row.general_key);
    if (name.empty()) name = row.default_file;
    return output.ResolveOutputName(name, false);
  };
  TemplateFiles files;
  files.registry = read(TemplateKind::kRegistry);
  files.directory_schema = read(TemplateKind::kDirectorySchema);
  files.directory_queries = read(TemplateKind::kDirectory);
  files.wmi_queries = read(TemplateKind::kWmi);
  files.file_templates = read(TemplateKind::kFile);
  return files;
}

RunSettings ReadRunSettings(const Configuration& config) {
  RunSettings settings;
  OutputSettings output;
  format::FormatSettings format;
  ReadRunSettings(config, settings, output, format);
  return settings;
}

}  // namespace tabulon
