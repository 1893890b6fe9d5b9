#include "ui/wmi_template.h"

#include "engine/configuration.h"
#include "exporters/templates/template_files.h"

namespace tabulon::ui {

WmiTemplate ReadWmiTemplate(platform::Profile& profile, const std::string& file,
                            const std::string& name) {
  WmiTemplate t;
  if (name.empty()) return t;
  const Configuration section(profile, file);
  t.name = name;
  t.enabled = section.ReadInt(name, "Enabled", 1) != 0;
  t.output_file = section.ReadText(name, "OutputFileName", "");
  // Empty items stay, as the run keeps them as empty columns.
  t.columns = SplitTemplateColumns(section.ReadText(name, "OutputColumns", ""));
  t.object_class = section.ReadText(name, "ObjectClass", "");
  t.where = section.ReadText(name, "Where", "");
  t.timeout_seconds = section.ReadInt(name, "TimeoutSeconds", kDefaultWmiTimeoutSeconds);
  return t;
}

std::vector<TemplateValue> WmiTemplateValues(const WmiTemplate& t) {
  return {{"Enabled", SwitchText(t.enabled)},
          {"OutputFileName", t.output_file},
          {"OutputColumns", JoinTemplateItems(t.columns, ',')},
          {"ObjectClass", t.object_class},
          {"Where", t.where},
          {"TimeoutSeconds", std::to_string(t.timeout_seconds)}};
}

bool WmiTimeoutInRange(std::int32_t seconds) {
  return seconds >= kMinWmiTimeoutSeconds && seconds <= kMaxWmiTimeoutSeconds;
}

}  // namespace tabulon::ui
