#include "ui/file_template.h"

#include <cstdio>

#include "engine/configuration.h"
#include "platform/text.h"

namespace tabulon::ui {
namespace {

std::vector<std::string> Split(std::string_view text, char separator) {
  std::vector<std::string> parts;
  if (text.empty()) return parts;
  while (true) {
    const std::size_t end = text.find(separator);
    parts.emplace_back(text.substr(0, end));
    if (end == std::string_view::npos) return parts;
    text.remove_prefix(end + 1);
  }
}

std::string LevelDigits(const SharePathEntry& entry) {
  switch (entry.option) {
    case ScanOption::kTopLevel:
      return "00";
    case ScanOption::kAllLevels:
      return "11";
    case ScanOption::kLevels:
      break;
  }
  char digits[16];
  std::snprintf(digits, sizeof digits, "%.2d", entry.levels);
  return digits;
}

}  // namespace

FileTemplate ReadFileTemplate(platform::Profile& profile, const std::string& path,
                              std::string_view name) {
  const Configuration file(profile, path);
  FileTemplate t;
  t.enabled = file.ReadInt(name, "Enabled", 1) != 0;
  t.output_file = file.ReadText(name, "OutputFileName", "");
  t.columns = file.ReadText(name, "OutputColumns", "");
  t.dirs_only = file.ReadInt(name, "GetDirsOnly", 0) != 0;
  t.shares.hidden = file.ReadInt(name, "GetHiddenShares", 0) != 0;
  t.shares.admin = file.ReadInt(name, "GetAdminShares", 0) != 0;
  t.shares.normal = file.ReadInt(name, "GetNormalShares", 0) != 0;
  t.filters = Split(file.ReadText(name, "Files", ""), '|');
  const std::string options = file.ReadText(name, "PathOptions", "");
  const std::string levels = file.ReadText(name, "PathLevels", "");
  const std::vector<std::string> entries = Split(file.ReadText(name, "Paths", ""), ':');
  for (std::size_t k = 0; k < entries.size(); ++k) {
    SharePathEntry entry{entries[k], ScanOption::kTopLevel, 0};
    const char option = k < options.size() ? options[k] : '0';
    if (option == '1') entry.option = ScanOption::kAllLevels;
    if (option == '2') {
      entry.option = ScanOption::kLevels;
      if (2 * k < levels.size()) {
        entry.levels = static_cast<int>(text::ParseLeadingInteger(levels.substr(2 * k, 2)));
      }
    }
    t.paths.push_back(std::move(entry));
  }
  return t;
}

std::vector<TemplateValue> FileTemplateValues(const FileTemplate& t) {
  std::vector<std::string> paths;
  std::string options;
  std::string levels;
  for (const SharePathEntry& entry : t.paths) {
    paths.push_back(entry.paths);
    options += static_cast<char>(entry.option);
    levels += LevelDigits(entry);
  }
  return {{"Enabled", SwitchText(t.enabled)},
          {"OutputFileName", t.output_file},
          {"OutputColumns", t.columns},
          {"Paths", JoinTemplateItems(paths, ':')},
          {"PathOptions", options},
          {"PathLevels", levels},
          {"GetHiddenShares", SwitchText(t.shares.hidden)},
          {"GetAdminShares", SwitchText(t.shares.admin)},
          {"GetNormalShares", SwitchText(t.shares.normal)},
          {"GetDirsOnly", SwitchText(t.dirs_only)},
          {"Files", JoinTemplateItems(t.filters, '|')}};
}

}  // namespace tabulon::ui
