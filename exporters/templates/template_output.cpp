#include "exporters/templates/template_output.h"

namespace tabulon {

std::vector<PreparedTemplate> EnabledTemplates(const Configuration& config,
                                               std::string_view list_key) {
  std::vector<PreparedTemplate> templates;
  for (std::string& name : config.ReadTemplateList(list_key)) {
    templates.push_back({std::move(name), {}});
  }
  return templates;
}

bool PrepareTemplateOutput(UnitSetup& setup, const Configuration& template_file,
                           PreparedTemplate& prepared, const std::string& column_text) {
  TemplateOutput out;
  const bool opened =
      setup.output.OpenTemplateOutputFile(template_file, prepared.name, column_text, out);
  prepared.output_path = std::move(out.path);
  prepared.file = out.file;
  return opened;
}

}  // namespace tabulon
