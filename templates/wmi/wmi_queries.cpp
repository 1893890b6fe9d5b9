#include "templates/wmi/wmi_queries.h"

#include "engine/run_settings.h"
#include "templates/template_output.h"

namespace tabulon {
namespace {

class WmiQueriesRun final : public ExporterRun {
 public:
  explicit WmiQueriesRun(std::vector<PreparedTemplate> templates)
      : templates_(std::move(templates)) {}

  bool OpenOutputs(UnitSetup& setup, ExportType /*type*/) override {
    const Configuration file(setup.profile,
                             ReadTemplateFileNames(setup.config, setup.output).wmi_queries);
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

constexpr ExportType kTypes[] = {kWmi};

}  // namespace

ExporterUnit WmiQueriesUnit() {
  return {.name = "WMI queries",
          .types = kTypes,
          .opens_own_outputs = true,
          .start = [](const Configuration& config, const EnabledExports&,
                      ExporterProgramState*) -> std::unique_ptr<ExporterRun> {
            std::vector<PreparedTemplate> templates = EnabledTemplates(config, "WmiTemplates");
            if (templates.empty()) return nullptr;
            return std::make_unique<WmiQueriesRun>(std::move(templates));
          }};
}

}  // namespace tabulon
