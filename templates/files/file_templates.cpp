#include "templates/files/file_templates.h"

#include "engine/run_settings.h"
#include "engine/template_kinds.h"
#include "templates/template_output.h"

namespace tabulon {
namespace {

class FileTemplatesRun final : public ExporterRun {
 public:
  explicit FileTemplatesRun(std::vector<PreparedTemplate> templates)
      : templates_(std::move(templates)) {}

  // Each template's file is opened with its column list of catalogue
  // columns and closed again at once.
  bool OpenOutputs(UnitSetup& setup, ExportType /*type*/) override {
    const Configuration file(setup.profile,
                             ReadTemplateFileNames(setup.config, setup.output).file_templates);
    for (const PreparedTemplate& t : templates_) {
      TypedOutput out;
      if (!setup.output.OpenTypedOutputFile(file, t.name, "OutputFileName", "OutputColumns", kFiles,
                                            out)) {
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

constexpr ExportType kTypes[] = {kFiles};

}  // namespace

ExporterUnit FileTemplatesUnit() {
  return {.name = "file templates",
          .types = kTypes,
          .opens_own_outputs = true,
          .start = [](const Configuration& config, const EnabledExports&,
                      ExporterProgramState*) -> std::unique_ptr<ExporterRun> {
            std::vector<PreparedTemplate> templates =
                EnabledTemplates(config, TemplateKindInfo(TemplateKind::kFile).list_key);
            if (templates.empty()) return nullptr;
            return std::make_unique<FileTemplatesRun>(std::move(templates));
          }};
}

}  // namespace tabulon
