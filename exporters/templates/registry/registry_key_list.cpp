#include "exporters/templates/registry/registry_key_list.h"

#include <array>

#include "platform/text.h"

namespace tabulon {
namespace {

constexpr std::array<HiveRow, 5> kHives{{
    {"HKLM", platform::kHkeyLocalMachine},
    {"HKCR", platform::kHkeyClassesRoot},
    {"HKU", platform::kHkeyUsers},
    {"HKCC", platform::kHkeyCurrentConfig},
    {"HKCU", platform::kHkeyCurrentUser},
}};
constexpr std::size_t kCurrentUser = 4;
constexpr std::string_view kView64Suffix = "x64";

}  // namespace

const HiveRow& ResolveHive(std::string_view part) {
  for (const HiveRow& row : kHives) {
    if (row.abbreviation == part) return row;
  }
  return kHives[kCurrentUser];
}

HiveView ResolveHiveView(std::string_view part) {
  // The suffix would stay on Windows 2000's registry API, which this
  // program never runs on.
  const bool view64 = part.ends_with(kView64Suffix);
  if (view64) part.remove_suffix(kView64Suffix.size());
  return {&ResolveHive(part), view64};
}

std::vector<std::string> SplitKeyList(std::string_view list) {
  while (list.ends_with(',')) list.remove_suffix(1);
  const std::string text = std::string(list) + ",";
  std::vector<std::string> entries;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != ',') continue;
    const bool last_three = i + 3 >= text.size();
    if (!last_three && !text::StartsWithNoCase(std::string_view(text).substr(i + 1), "HK")) {
      continue;
    }
    entries.push_back(text.substr(start, i - start));
    start = i + 1;
  }
  return entries;
}

bool HasMidPathWildcard(std::string_view entry) {
  const std::size_t star = entry.find('*');
  return star != std::string_view::npos && star > 0 && star + 2 < entry.size();
}

std::optional<KeyEntry> ParseKeyEntry(std::string_view entry) {
  const std::size_t slash = entry.find('\\');
  if (slash == std::string_view::npos) return std::nullopt;
  KeyEntry parsed{ResolveHiveView(entry.substr(0, slash)), {}, SubkeyMode::kNone};
  std::string_view path = text::TrimRight(entry.substr(slash + 1));
  if (path.ends_with("**")) {
    parsed.mode = SubkeyMode::kRecursive;
  } else if (path.ends_with('*')) {
    parsed.mode = SubkeyMode::kOneLevel;
  }
  while (path.ends_with('*')) path.remove_suffix(1);
  while (path.ends_with('\\')) path.remove_suffix(1);
  parsed.path = std::string(path);
  return parsed;
}

}  // namespace tabulon
