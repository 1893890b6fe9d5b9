#include "templates/directory/directory_queries.h"

#include "engine/run_settings.h"
#include "templates/template_output.h"

namespace tabulon {
namespace {

inline constexpr std::string_view kDefaultGroupMemberAttributes =
    "distinguishedname,cn,displayname,description,objectclass,samaccountname,useraccountcontrol,"
    "%IS_PRIMARY%,%INDIRECT_MEMBER_PARENT%";
inline constexpr std::string_view kDefaultUserGroupAttributes =
    "distinguishedname,cn,description,grouptype,samaccountname,%IS_PRIMARY%";

// The query's attributes followed by the member or group columns its
// membership options add.
std::string ColumnText(const Configuration& file, const std::string& name) {
  std::string columns = file.ReadText(name, "Attributes", "") + ",";
  const std::int32_t filter = file.ReadInt(name, "Filter", 0);
  if (filter >= 2 && filter <= 5 && file.ReadInt(name, "GetGroupMembers", 0) == 1) {
    std::string members = file.ReadText(name, "GroupMemberAttributes", "");
    if (members.empty()) members = std::string(kDefaultGroupMemberAttributes);
    columns += members + ",";
  }
  if ((filter == 1 || filter == 6) && file.ReadInt(name, "GetUserGroups", 0) == 1) {
    std::string groups = file.ReadText(name, "UserGroupAttributes", "");
    if (groups.empty()) groups = std::string(kDefaultUserGroupAttributes);
    columns += groups + ",";
  }
  return columns;
}

class DirectoryQueriesRun final : public ExporterRun {
 public:
  explicit DirectoryQueriesRun(std::vector<PreparedTemplate> templates)
      : templates_(std::move(templates)) {}

  bool OpenOutputs(UnitSetup& setup, ExportType /*type*/) override {
    const Configuration file(setup.profile,
                             ReadTemplateFileNames(setup.config, setup.output).directory_queries);
    for (PreparedTemplate& t : templates_) {
      if (!PrepareTemplateOutput(setup, file, t, ColumnText(file, t.name))) return false;
    }
    return true;
  }
  bool Wanted(const SecurityAccessSink* /*security*/) const override { return false; }
  void ExportTarget(ExportContext& /*context*/, const tagCObjects& /*target*/) override {}

 private:
  std::vector<PreparedTemplate> templates_;
};

constexpr ExportType kTypes[] = {kDirectory};

}  // namespace

ExporterUnit DirectoryQueriesUnit() {
  return {.name = "directory queries",
          .types = kTypes,
          .target_kinds = 0,
          .opens_own_outputs = true,
          .start = [](const Configuration& config, const EnabledExports&,
                      ExporterProgramState*) -> std::unique_ptr<ExporterRun> {
            std::vector<PreparedTemplate> templates =
                EnabledTemplates(config, "DirectoryTemplates");
            if (templates.empty()) return nullptr;
            return std::make_unique<DirectoryQueriesRun>(std::move(templates));
          }};
}

}  // namespace tabulon
