#include "templates/registry/registry_templates.h"

#include "engine/run_settings.h"
#include "templates/template_output.h"

namespace tabulon {
namespace {

class RegistryTemplatesRun final : public ExporterRun {
 public:
  explicit RegistryTemplatesRun(std::vector<PreparedTemplate> templates)
      : templates_(std::move(templates)) {}

  bool OpenOutputs(UnitSetup& setup, ExportType /*type*/) override {
    const Configuration file(setup.profile,
                             ReadTemplateFileNames(setup.config, setup.output).registry);
    for (PreparedTemplate& t : templates_) {
      if (!PrepareTemplateOutput(setup, file, t,
                                 file.ReadText(t.name, "OutputColumns", "") + ",")) {
        return false;
      }
    }
    return true;
  }
  // The templates make the run visit computers.
  bool Wanted(const SecurityAccessSink* /*security*/) const override { return true; }
  void ExportTarget(ExportContext& /*context*/, const tagCObjects& /*target*/) override {}

 private:
  std::vector<PreparedTemplate> templates_;
};

constexpr ExportType kTypes[] = {kRegistry};

}  // namespace

ExporterUnit RegistryTemplatesUnit() {
  return {.name = "registry templates",
          .types = kTypes,
          .opens_own_outputs = true,
          .start = [](const Configuration& config, const EnabledExports&,
                      ExporterProgramState*) -> std::unique_ptr<ExporterRun> {
            std::vector<PreparedTemplate> templates = EnabledTemplates(config, "RegistryTemplates");
            if (templates.empty()) return nullptr;
            return std::make_unique<RegistryTemplatesRun>(std::move(templates));
          }};
}

}  // namespace tabulon
