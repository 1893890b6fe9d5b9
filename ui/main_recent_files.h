#pragma once
// The recent-file list of the Configuration menu: the last 10 configurations
// opened, newest first, kept in the settings store (section Settings) under
// the keys RecentFile1 .. RecentFile10 beside the other per-user settings.
#include <string>
#include <vector>

#include "engine/app_settings.h"

namespace tabulon::ui {

inline constexpr std::size_t kRecentFileCount = 10;

std::vector<std::string> ReadRecentFiles(const AppSettings& settings);
// Puts `path` first, dropping an older entry for it and the eleventh.
void AddRecentFile(const AppSettings& settings, const std::string& path);

}  // namespace tabulon::ui
