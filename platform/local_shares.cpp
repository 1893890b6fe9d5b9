#include "platform/local_shares.h"

#include <algorithm>
#include <filesystem>

#include "platform/text.h"
#include "platform/utf8_path.h"

namespace tabulon::platform {

std::vector<LocalShare> ParseLocalShares(std::string_view text, std::string_view base_directory) {
  std::vector<LocalShare> shares;
  const auto trim_separators = [](std::string_view s) {
    s = text::Trim(s);
    while (s.size() > 1 && (s.back() == '\\' || s.back() == '/')) s.remove_suffix(1);
    return std::string(s);
  };
  std::size_t at = 0;
  while (at <= text.size()) {
    const std::size_t end = std::min(text.find(';', at), text.size());
    const std::string_view entry = text.substr(at, end - at);
    at = end + 1;
    const std::size_t eq = entry.find('=');
    if (eq == std::string_view::npos) continue;
    LocalShare share{trim_separators(entry.substr(0, eq)), trim_separators(entry.substr(eq + 1))};
    if (!share.unc.starts_with("\\\\") || share.unc.size() < 3 || share.folder.empty()) continue;
    if (!Utf8Path(share.folder).is_absolute() && !base_directory.empty()) {
      share.folder = Utf8Name(Utf8Path(base_directory) / Utf8Path(share.folder));
    }
    shares.push_back(std::move(share));
  }
  return shares;
}

}  // namespace tabulon::platform
