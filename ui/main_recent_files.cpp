#include "ui/main_recent_files.h"

#include <algorithm>

namespace tabulon::ui {
namespace {

std::string Key(std::size_t index) {
  return "RecentFile" + std::to_string(index + 1);
}

}  // namespace

std::vector<std::string> ReadRecentFiles(const AppSettings& settings) {
  std::vector<std::string> files;
  for (std::size_t i = 0; i < kRecentFileCount; ++i) {
    std::string path = settings.Get(Key(i));
    if (!path.empty()) files.push_back(std::move(path));
  }
  return files;
}

void AddRecentFile(const AppSettings& settings, const std::string& path) {
  std::vector<std::string> files = ReadRecentFiles(settings);
  std::erase(files, path);
  files.insert(files.begin(), path);
  for (std::size_t i = 0; i < kRecentFileCount; ++i) {
    const std::string value = i < files.size() ? files[i] : std::string();
    if (settings.Get(Key(i)) != value) settings.Set(Key(i), value);
  }
}

}  // namespace tabulon::ui
