#pragma once
// The settings the engine itself reads before it opens anything; each
// exporter unit reads its own.
#include <cstdint>
#include <string>

#include "engine/configuration.h"
#include "engine/output_settings.h"
#include "engine/run_context.h"

namespace tabulon {

struct RunSettings {
  EnabledExports enabled;
  TargetOptions targets;
  bool open_output_window = true;
  // How long one remote call may take, from [Platform] Timeout (seconds).
  std::uint32_t call_timeout_ms = platform::kDefaultCallTimeoutMs;
  // [General] ParallelTargets: targets exported at once (1: one at a time).
  std::int32_t parallel_targets = 1;
  // Directory searches: [Platform] DirectoryServer ("ldap://host:port" or
  // "ldaps://host:port"; empty: the controller located for the domain),
  // DirectoryCaFile (empty: the system's authorities) and DirectoryStartTls.
  std::string directory_server;
  std::string directory_ca_file;
  bool directory_start_tls = false;
};

// Enable keys, output settings, target settings, custom date and time
// formats and the session's call timeout.
void ReadRunSettings(const Configuration& config, RunSettings& settings, OutputSettings& output,
                     format::FormatSettings& format);
// The same for a reader that needs only the run's own settings (the
// window's browse dialogs: directory server, call timeout).
RunSettings ReadRunSettings(const Configuration& config);

struct TemplateFiles {
  std::string registry;
  std::string directory_schema;
  std::string directory_queries;
  std::string wmi_queries;
  std::string file_templates;
};

// The five template file names of a configuration, defaults for empty
// values, resolved like every configured file name.
TemplateFiles ReadTemplateFileNames(const Configuration& config, RunOutput& output);

}  // namespace tabulon
