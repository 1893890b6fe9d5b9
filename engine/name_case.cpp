#include "engine/name_case.h"

#include <filesystem>

#include "platform/text.h"

namespace tabulon {

std::string MatchNameIgnoringCase(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path wanted(path);
  if (fs::exists(wanted, ec) || !wanted.has_parent_path()) return path;
  const std::string name = wanted.filename().string();
  std::string match;
  for (const fs::directory_entry& entry : fs::directory_iterator(wanted.parent_path(), ec)) {
    const std::string candidate = entry.path().filename().string();
    if (text::EqualsNoCase(candidate, name) && (match.empty() || candidate < match)) {
      match = candidate;
    }
  }
  return match.empty() ? path : (wanted.parent_path() / match).string();
}

}  // namespace tabulon
