#include "ui/configuration_naming.h"

#include <algorithm>
#include <filesystem>

#include "engine/file_names.h"
#include "platform/text.h"
#include "platform/utf8_path.h"

namespace tabulon::ui {
namespace fs = std::filesystem;
namespace {

// Both '/' and '\' separate folders in names the user types.
std::size_t FileNameStart(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? 0 : slash + 1;
}

std::string FolderOrData(const AppSettings& settings, std::string_view key,
                         std::string_view data_folder) {
  std::string folder = settings.Get(key);
  return folder.empty() ? std::string(data_folder) : folder;
}

}  // namespace

std::string CopyFileName(std::string_view path) {
  const std::string_view name = path.substr(FileNameStart(path));
  const std::size_t dot = name.find('.');
  if (dot == std::string_view::npos) return std::string(name) + std::string(kCopySuffix);
  return std::string(name.substr(0, dot)) + std::string(kCopySuffix) +
         std::string(name.substr(dot));
}

std::string WithDefaultExtension(std::string_view name, std::string_view extension) {
  if (name.substr(FileNameStart(name)).find('.') != std::string_view::npos) {
    return std::string(name);
  }
  return std::string(name) + std::string(extension);
}

std::string PlaceInFolder(std::string_view name, std::string_view folder) {
  if (HasDirectoryPart(name) || folder.empty()) return std::string(name);
  return JoinPath(folder, name);
}

std::string ConfigurationFolder(const AppSettings& settings, std::string_view data_folder) {
  return FolderOrData(settings, "ConfigurationFileDirectory", data_folder);
}

std::string ObjectFileFolder(const AppSettings& settings, std::string_view data_folder) {
  return FolderOrData(settings, "ObjectFileDirectory", data_folder);
}

std::vector<std::string> ListFilesWithExtension(const std::string& folder,
                                                std::string_view extension) {
  std::vector<std::string> paths;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(platform::Utf8Path(folder), ec)) {
    if (!entry.is_regular_file(ec)) continue;
    const std::string name = platform::Utf8Name(entry.path().filename());
    // Files made on Windows keep the case they were typed in (".ini",
    // ".INI"); the extension setting names a type of file, not a spelling.
    if (name.size() <= extension.size() || !text::EndsWithNoCase(name, extension)) continue;
    paths.push_back(platform::Utf8Name(entry.path()));
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

std::vector<ListedConfiguration> ListConfigurations(platform::Profile& profile,
                                                    const std::string& folder,
                                                    std::string_view extension) {
  std::vector<ListedConfiguration> listed;
  for (std::string& path : ListFilesWithExtension(folder, extension)) {
    std::string name =
        profile.GetString(path, "General", "ConfigurationName", "", kConfigurationNameChars);
    if (name.empty()) continue;
    listed.push_back({std::move(name), std::move(path)});
  }
  return listed;
}

}  // namespace tabulon::ui
