#include "engine/file_names.h"

#include <cstdio>

#include "engine/name_case.h"
#include "platform/ini_file_profile.h"
#include "platform/text.h"

namespace tabulon {
namespace {

void ReplaceAll(std::string& s, std::string_view from, std::string_view to) {
  std::size_t pos = 0;
  while ((pos = s.find(from, pos)) != std::string::npos) {
    s.replace(pos, from.size(), to);
    pos += to.size();
  }
}

std::string TwoDigits(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", v);
  return buf;
}

}  // namespace

bool HasDirectoryPart(std::string_view name) {
  return name.find_first_of("\\/") != std::string_view::npos;
}

std::string JoinPath(std::string_view directory, std::string_view name) {
  std::string out(directory);
  if (out.empty() || (out.back() != '/' && out.back() != '\\')) out += '/';
  out += name;
  return out;
}

std::string ReplaceDateTokens(std::string name, const platform::SystemTime& now,
                              platform::Locale& locale) {
  const std::string year = std::to_string(now.year);
  ReplaceAll(name, "%YYYY%", year);
  ReplaceAll(name, "%YY%", year.size() >= 2 ? year.substr(year.size() - 2) : year);
  ReplaceAll(name, "%MM%", TwoDigits(now.month));
  ReplaceAll(name, "%DD%", TwoDigits(now.day));
  ReplaceAll(name, "%hh%", TwoDigits(now.hour));
  ReplaceAll(name, "%mm%", TwoDigits(now.minute));
  ReplaceAll(name, "%ss%", TwoDigits(now.second));
  if (name.find("%Dow%") != std::string::npos || name.find("%DOW%") != std::string::npos ||
      name.find("%dow%") != std::string::npos) {
    const std::string day = locale.WeekdayName(now.day_of_week);
    ReplaceAll(name, "%Dow%", day);
    ReplaceAll(name, "%DOW%", text::ToUpper(day));
    ReplaceAll(name, "%dow%", text::ToLower(day));
  }
  return name;
}

std::string ResolveFileName(std::string_view name, bool use_default_directory,
                            const FileLocations& locations, platform::Clock& clock,
                            platform::Locale& locale) {
  if (name.empty()) return {};
  std::string resolved(name);
  bool in_data_directory = false;
  if (!HasDirectoryPart(name)) {
    if (use_default_directory && !locations.default_output_directory.empty()) {
      resolved = JoinPath(locations.default_output_directory, name);
    } else if (!locations.app_data_directory.empty()) {
      resolved = JoinPath(locations.app_data_directory, name);
      in_data_directory = true;
    } else {
      resolved = JoinPath(locations.program_directory, name);
    }
  }
  if (resolved.find('%') != std::string::npos) {
    resolved = ReplaceDateTokens(std::move(resolved), clock.LocalNow(), locale);
  }
  resolved = platform::NativePath(resolved);
  return in_data_directory ? MatchNameIgnoringCase(resolved) : resolved;
}

}  // namespace tabulon
