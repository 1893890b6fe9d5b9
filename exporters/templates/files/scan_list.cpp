#include "exporters/templates/files/scan_list.h"

#include "platform/file_system.h"
#include "platform/text.h"

namespace tabulon {
namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t at = 0;
  while (true) {
    const std::size_t end = text.find(separator, at);
    parts.push_back(text.substr(at, end == std::string_view::npos ? end : end - at));
    if (end == std::string_view::npos) return parts;
    at = end + 1;
  }
}

bool IsKept(const platform::ShareInfo& share) {
  return share.type == platform::kStypeDisktree || share.type == platform::kStypeSpecial;
}

// Whether the share flags select a kept share.
bool Selected(const platform::ShareInfo& share, const PathSettings& s) {
  if (share.netname.ends_with('$')) {
    if (share.type == platform::kStypeDisktree) return s.hidden_shares;
    return s.admin_shares && text::CountCodePoints(share.netname) == 2;
  }
  return s.normal_shares && share.type == platform::kStypeDisktree;
}

int LevelsOf(std::string_view levels, std::size_t entry) {
  const std::size_t at = entry * 2;
  if (at >= levels.size()) return 0;
  return static_cast<int>(text::ParseLeadingInteger(levels.substr(at, 2)));
}

}  // namespace

bool NeedsShares(std::string_view paths) {
  return paths.find(kAllSharesPath) != std::string_view::npos ||
         paths.find('*') != std::string_view::npos;
}

std::vector<ScanEntry> BuildScanList(const PathSettings& settings,
                                     const std::vector<platform::ShareInfo>& shares) {
  std::vector<platform::ShareInfo> kept;
  for (const platform::ShareInfo& share : shares) {
    if (!IsKept(share)) continue;
    kept.push_back(share);
    kept.back().netname = text::ToLower(share.netname);
  }
  std::vector<ScanEntry> list;
  const std::vector<std::string_view> entries = Split(settings.paths, ':');
  for (std::size_t k = 0; k < entries.size(); ++k) {
    ScanOption option = ScanOption::kTopLevel;
    if (k < settings.options.size()) {
      const char c = settings.options[k];
      if (c == '1') option = ScanOption::kAllLevels;
      if (c == '2') option = ScanOption::kLevels;
    }
    const int levels = option == ScanOption::kLevels ? LevelsOf(settings.levels, k) : 0;
    for (std::string_view sub_path : Split(entries[k], '|')) {
      if (sub_path.empty()) continue;
      if (sub_path == kAllSharesPath) {
        for (const platform::ShareInfo& share : kept) {
          if (Selected(share, settings)) list.push_back({share.netname, option, levels});
        }
      } else if (sub_path.find('*') != std::string_view::npos) {
        for (const platform::ShareInfo& share : kept) {
          if (WildcardMatch(sub_path, share.netname))
            list.push_back({share.netname, option, levels});
        }
      } else {
        list.push_back({std::string(sub_path), option, levels});
      }
    }
  }
  return list;
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*" || pattern == "*") return true;
  if (pattern.find('*') == std::string_view::npos) return text::EqualsNoCase(pattern, name);
  return platform::MatchesFindPattern(pattern, name);
}

}  // namespace tabulon
