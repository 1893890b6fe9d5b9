#include "engine/name_case.h"

#include <filesystem>

#include "platform/text.h"
#include "platform/utf8_path.h"

namespace tabulon {

std::string MatchNameIgnoringCase(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path wanted = platform::Utf8Path(path);
  if (fs::exists(wanted, ec) || !wanted.has_parent_path()) return path;
  const std::string name = platform::Utf8Name(wanted.filename());
  std::string match;
  for (const fs::directory_entry& entry : fs::directory_iterator(wanted.parent_path(), ec)) {
    const std::string candidate = platform::Utf8Name(entry.path().filename());
    if (text::EqualsNoCase(candidate, name) && (match.empty() || candidate < match)) {
      match = candidate;
    }
  }
  return match.empty() ? path
                       : platform::Utf8Name(wanted.parent_path() / platform::Utf8Path(match));
}

}  // namespace tabulon
