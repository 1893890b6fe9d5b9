#include "exporters/templates/directory/directory_queries.h"

#include <optional>

#include "engine/run_settings.h"
#include "exporters/templates/directory/attribute_kinds.h"
#include "exporters/templates/directory/logon_runs.h"
#include "exporters/templates/directory/query_export.h"
#include "exporters/templates/directory/query_settings.h"
#include "exporters/templates/template_output.h"

namespace tabulon {
namespace {

constexpr int kFirstDirectoryMajorVersion = 5;

class DirectoryQueriesRun final : public ExporterRun {
 public:
  DirectoryQueriesRun(const Configuration& config, std::vector<PreparedTemplate> templates)
      : config_(config), templates_(std::move(templates)) {}

  bool OpenOutputs(UnitSetup& setup, ExportType /*type*/) override {
    const TemplateFiles files = ReadTemplateFileNames(setup.config, setup.output);
    const Configuration queries(setup.profile, files.directory_queries);
    kinds_.emplace(files.directory_schema);
    for (PreparedTemplate& t : templates_) {
      settings_.push_back(ReadDirectoryQuery(queries, t.name));
      if (!PrepareTemplateOutput(setup, queries, t, settings_.back().column_text)) return false;
    }
    return true;
  }
  // The computer skip list, which the run has loaded once already, when a
  // query leaves out the controllers it names.
  bool Prepare(UnitSetup& setup) override {
    bool skips = false;
    for (const DirectoryQuerySettings& query : settings_) skips |= query.skip_controllers;
    if (!skips || !setup.config.ReadSwitch("Computers", "SkipEnable")) return true;
    const std::string skip_file = setup.config.ReadSettingText("Computers", "SkipFileName");
    has_skip_list_ = !skip_file.empty();
    return !has_skip_list_ || setup.LoadListFile(skip_file, skip_list_);
  }
  bool Wanted(const SecurityAccessSink* /*security*/) const override { return true; }
  void ExportTarget(ExportContext& context, const tagCObjects& target) override {
    if (!kinds_ || context.format.local_major_version < kFirstDirectoryMajorVersion) return;
    context.output.AddProgressRow(target.display_name, "Exporting directory information...", 0,
                                  ProgressKindOfObject(target.type));
    DirectoryQueryShared shared{config_, *kinds_};
    for (std::size_t i = 0; i < templates_.size(); ++i) {
      if (context.StopRequested()) return;  // the run ends after this target
      RunDirectoryQuery(context, target, templates_[i], settings_[i], shared,
                        has_skip_list_ ? &skip_list_ : nullptr);
    }
  }

 private:
  Configuration config_;
  std::vector<PreparedTemplate> templates_;
  // Each template's section of the query file, read once for the run.
  std::vector<DirectoryQuerySettings> settings_;
  // The schema of each server, read once for the run.
  std::optional<AttributeKindCache> kinds_;
  bool has_skip_list_ = false;
  format::NameList skip_list_;
};

constexpr ExportType kTypes[] = {kDirectory};

}  // namespace

ExporterUnit DirectoryQueriesUnit() {
  return {.name = "directory queries",
          .types = kTypes,
          .target_kinds = kDirectoryTargets,
          .opens_own_outputs = true,
          .start = StartTemplateRun<DirectoryQueriesRun, TemplateKind::kDirectory>};
}

}  // namespace tabulon
