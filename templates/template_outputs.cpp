#include "templates/template_outputs.h"

#include <algorithm>
#include <string>
#include <vector>

#include "engine/run_settings.h"

namespace tabulon {
namespace {

inline constexpr std::string_view kDefaultGroupMemberAttributes =
    "distinguishedname,cn,displayname,description,objectclass,samaccountname,useraccountcontrol,"
    "%IS_PRIMARY%,%INDIRECT_MEMBER_PARENT%";
inline constexpr std::string_view kDefaultUserGroupAttributes =
    "distinguishedname,cn,description,grouptype,samaccountname,%IS_PRIMARY%";

struct TemplateLists {
  std::vector<std::string> registry;
  std::vector<std::string> wmi;
  std::vector<std::string> files;
  std::vector<std::string> directory;

  bool empty() const {
    return registry.empty() && wmi.empty() && files.empty() && directory.empty();
  }
};

class TemplatesRun final : public ExporterRun {
 public:
  explicit TemplatesRun(TemplateLists lists) : lists_(std::move(lists)) {}

  bool OpenOutputs(UnitSetup& setup, ExportType type) override {
    if (!files_read_) {
      files_ = ReadTemplateFileNames(setup.config, setup.output);
      files_read_ = true;
    }
    switch (type) {
      case kDirectory:
        return OpenDirectoryOutputs(setup);
      case kRegistry:
        return OpenColumnOutputs(setup, files_.registry, lists_.registry);
      case kWmi:
        return OpenColumnOutputs(setup, files_.wmi_queries, lists_.wmi);
      case kFiles:
        return OpenFileOutputs(setup);
      default:
        return true;
    }
  }

  // Templates make the run visit computers; their rows come with the
  // template exports.
  bool Wanted(const SecurityAccessSink* /*security*/) const override {
    return !lists_.registry.empty() || !lists_.wmi.empty() || !lists_.files.empty();
  }
  void ExportTarget(ExportContext& /*context*/, const tagCObjects& /*target*/) override {}

 private:
  bool OpenDirectoryOutputs(UnitSetup& setup) {
    const Configuration directory(setup.profile, files_.directory_queries);
    for (const std::string& name : lists_.directory) {
      std::string columns = directory.ReadText(name, "Attributes", "") + ",";
      const std::int32_t filter = directory.ReadInt(name, "Filter", 0);
      if (filter >= 2 && filter <= 5 && directory.ReadInt(name, "GetGroupMembers", 0) == 1) {
        std::string members = directory.ReadText(name, "GroupMemberAttributes", "");
        if (members.empty()) members = std::string(kDefaultGroupMemberAttributes);
        columns += members + ",";
      }
      if ((filter == 1 || filter == 6) && directory.ReadInt(name, "GetUserGroups", 0) == 1) {
        std::string groups = directory.ReadText(name, "UserGroupAttributes", "");
        if (groups.empty()) groups = std::string(kDefaultUserGroupAttributes);
        columns += groups + ",";
      }
      if (!Open(setup, directory, name, columns)) return false;
    }
    return true;
  }

  bool OpenColumnOutputs(UnitSetup& setup, const std::string& file,
                         const std::vector<std::string>& names) {
    const Configuration templates(setup.profile, file);
    for (const std::string& name : names) {
      if (!Open(setup, templates, name, templates.ReadText(name, "OutputColumns", "") + ",")) {
        return false;
      }
    }
    return true;
  }

  bool OpenFileOutputs(UnitSetup& setup) {
    const Configuration templates(setup.profile, files_.file_templates);
    for (const std::string& name : lists_.files) {
      TypedOutput out;
      if (!setup.output.OpenTypedOutputFile(templates, name, "OutputFileName", "OutputColumns",
                                            kFiles, out)) {
        return false;
      }
    }
    return true;
  }

  static bool Open(UnitSetup& setup, const Configuration& template_file, const std::string& name,
                   const std::string& columns) {
    setup.output.RaiseValueBufferSize(
        static_cast<std::size_t>(std::count(columns.begin(), columns.end(), ',')));
    return setup.output.OpenTemplateOutputFile(template_file, name, columns, nullptr);
  }

  TemplateLists lists_;
  TemplateFiles files_;
  bool files_read_ = false;
};

constexpr ExportType kTypes[] = {kDirectory, kRegistry, kWmi, kFiles};

}  // namespace

ExporterUnit TemplatesUnit() {
  return {.name = "templates",
          .types = kTypes,
          .opens_own_outputs = true,
          .start = [](const Configuration& config, const EnabledExports&,
                      ExporterProgramState*) -> std::unique_ptr<ExporterRun> {
            TemplateLists lists{config.ReadTemplateList("RegistryTemplates"),
                                config.ReadTemplateList("WmiTemplates"),
                                config.ReadTemplateList("FileTemplates"),
                                config.ReadTemplateList("DirectoryTemplates")};
            if (lists.empty()) return nullptr;
            return std::make_unique<TemplatesRun>(std::move(lists));
          }};
}

}  // namespace tabulon
