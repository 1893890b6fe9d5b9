#pragma once
// What the four template kinds share: the enabled names of a kind, its
// template file, and the output file each template opens once for the run.
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "engine/exporter_unit.h"
#include "engine/template_kinds.h"

namespace tabulon {

// One enabled template of a run and the output file it opened.
struct PreparedTemplate {
  std::string name;
  std::string output_path;  // resolved; empty until prepared
  // Open from before the first target to the end of the run; null until
  // prepared (and while the run plans its paths).
  OutputFile* file = nullptr;
};

// The enabled templates of one kind, in the configuration's list order.
std::vector<PreparedTemplate> EnabledTemplates(const Configuration& config,
                                               std::string_view list_key);

// The start of a template kind's unit: its run is made from the kind's
// enabled templates (and the configuration, when it takes one); no run
// when none is enabled.
template <typename Run, TemplateKind kKind>
std::unique_ptr<ExporterRun> StartTemplateRun(const Configuration& config, const EnabledExports&) {
  std::vector<PreparedTemplate> templates =
      EnabledTemplates(config, TemplateKindInfo(kKind).list_key);
  if (templates.empty()) return nullptr;
  if constexpr (std::is_constructible_v<Run, const Configuration&, std::vector<PreparedTemplate>>) {
    return std::make_unique<Run>(config, std::move(templates));
  } else {
    return std::make_unique<Run>(std::move(templates));
  }
}

// Opens a template's output file for the run: its mark and the title row of
// `column_text` (a comma after each column); its rows follow target by
// target. False stops the run.
bool PrepareTemplateOutput(UnitSetup& setup, const Configuration& template_file,
                           PreparedTemplate& prepared, const std::string& column_text);

}  // namespace tabulon
