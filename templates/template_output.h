#pragma once
// What the four template kinds share: the enabled names of a kind, its
// template file, and the output file each template prepares before the
// first target.
#include <string>
#include <string_view>
#include <vector>

#include "engine/exporter_unit.h"

namespace tabulon {

// One enabled template of a run and the output file it prepared.
struct PreparedTemplate {
  std::string name;
  std::string output_path;  // resolved; empty until prepared
};

// The enabled templates of one kind, in the configuration's list order.
std::vector<PreparedTemplate> EnabledTemplates(const Configuration& config,
                                               std::string_view list_key);

// Prepares a template's output file: the value buffer is raised to the
// number of commas of `column_text` (one per column), then the mark and
// title row are written. False stops the run.
bool PrepareTemplateOutput(UnitSetup& setup, const Configuration& template_file,
                           PreparedTemplate& prepared, const std::string& column_text);

}  // namespace tabulon
