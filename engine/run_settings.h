#pragma once
// The settings a run reads before it opens anything.
#include <string>
#include <string_view>

#include "engine/configuration.h"
#include "engine/output_settings.h"
#include "engine/run_context.h"

namespace tabulon {

inline constexpr std::string_view kDefaultGroupMemberAttributes =
    "distinguishedname,cn,displayname,description,objectclass,samaccountname,useraccountcontrol,"
    "%IS_PRIMARY%,%INDIRECT_MEMBER_PARENT%";
inline constexpr std::string_view kDefaultUserGroupAttributes =
    "distinguishedname,cn,description,grouptype,samaccountname,%IS_PRIMARY%";

// Enable keys, output settings, target, share, group, drive, security and
// photo options, custom date and time formats and the template lists.
void ReadRunSettings(const Configuration& config, RunOptions& options, OutputSettings& output,
                     format::FormatSettings& format);

// True when anything of the run works on computers.
bool ComputersNeeded(const RunOptions& options);

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
