#include "templates/directory/directory_queries.h"

#include <optional>

#include "engine/run_settings.h"
#include "templates/directory/attribute_kinds.h"
#include "templates/directory/query_export.h"
#include "templates/directory/query_settings.h"
#include "templates/template_output.h"

namespace tabulon {
namespace {

class DirectoryQueriesRun final : public ExporterRun {
 public:
  DirectoryQueriesRun(const Configuration& config, std::vector<PreparedTemplate> templates)
      : config_(config), templates_(std::move(templates)) {}

  bool OpenOutputs(UnitSetup& setup, ExportType /*type*/) override {
    const TemplateFiles files = ReadTemplateFileNames(setup.config, setup.output);
    queries_.emplace(setup.profile, files.directory_queries);
    kinds_.emplace(files.directory_schema);
    for (PreparedTemplate& t : templates_) {
      if (!PrepareTemplateOutput(setup, *queries_, t,
                                 DirectoryQueryColumnText(*queries_, t.name))) {
        return false;
      }
    }
    return true;
  }
  bool Wanted(const SecurityAccessSink* /*security*/) const override { return true; }
  void ExportTarget(ExportContext& context, const tagCObjects& target) override {
    if (!queries_) return;
    DirectoryQueryShared shared{*queries_, config_, *kinds_};
    for (const PreparedTemplate& t : templates_) ExportDirectoryQuery(context, target, t, shared);
  }

 private:
  Configuration config_;
  std::vector<PreparedTemplate> templates_;
  std::optional<Configuration> queries_;
  // The schema of each server, read once for the run.
  std::optional<AttributeKindCache> kinds_;
};

constexpr ExportType kTypes[] = {kDirectory};

}  // namespace

ExporterUnit DirectoryQueriesUnit() {
  return {.name = "directory queries",
          .types = kTypes,
          .target_kinds = kDirectoryTargets,
          .opens_own_outputs = true,
          .start = [](const Configuration& config, const EnabledExports&,
                      ExporterProgramState*) -> std::unique_ptr<ExporterRun> {
            std::vector<PreparedTemplate> templates =
                EnabledTemplates(config, "DirectoryTemplates");
            if (templates.empty()) return nullptr;
            return std::make_unique<DirectoryQueriesRun>(config, std::move(templates));
          }};
}

}  // namespace tabulon
