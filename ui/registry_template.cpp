#include "ui/registry_template.h"

#include "engine/configuration.h"
#include "exporters/templates/template_files.h"

namespace tabulon::ui {

std::string ComposeKeyEntry(const RegistryKeyChoice& choice) {
  std::string entry(kHiveChoices.at(choice.hive).abbreviation);
  if (choice.view64) entry += "x64";
  if (!choice.path.empty()) entry += "\\" + choice.path;
  if (choice.mode != SubkeyMode::kNone) {
    if (!entry.ends_with('\\')) entry += '\\';
    entry += choice.mode == SubkeyMode::kRecursive ? "**" : "*";
  }
  return entry;
}

RegistryKeyChoice ParseKeyChoice(std::string_view entry) {
  // An entry without "\" is a hive part alone; the run skips such an entry,
  // the editor still shows its hive.
  std::string text(entry);
  if (text.find('\\') == std::string::npos) text += '\\';
  const std::optional<KeyEntry> parsed = ParseKeyEntry(text);
  RegistryKeyChoice choice;
  choice.view64 = parsed->hive.view64;
  for (std::size_t i = 0; i < kHiveChoices.size(); ++i) {
    if (kHiveChoices[i].abbreviation == parsed->hive.hive->abbreviation) choice.hive = i;
  }
  choice.path = parsed->path;
  choice.mode = parsed->mode;
  return choice;
}

RegistryTemplate ReadRegistryTemplate(platform::Profile& profile, const std::string& path,
                                      std::string_view name) {
  const Configuration file(profile, path);
  RegistryTemplate t;
  t.enabled = file.ReadInt(name, "Enabled", 1) != 0;
  t.output_file = file.ReadText(name, "OutputFileName", "");
  t.columns = SplitTemplateColumns(file.ReadText(name, "OutputColumns", ""));
  const std::string keys = file.ReadText(name, "OutputKeys", "");
  if (!keys.empty()) t.keys = SplitKeyList(keys);
  return t;
}

std::vector<TemplateValue> RegistryTemplateValues(const RegistryTemplate& t) {
  return {{"Enabled", SwitchText(t.enabled)},
          {"OutputFileName", t.output_file},
          {"OutputColumns", JoinTemplateItems(t.columns, ',')},
          {"OutputKeys", JoinTemplateItems(t.keys, ',')}};
}

}  // namespace tabulon::ui
