#include "exporters/templates/directory/photos.h"

#include <algorithm>

#include "engine/error_text.h"
#include "engine/messages.h"
#include "platform/ini_file_profile.h"

namespace tabulon {

PhotoSettings ReadPhotoSettings(const Configuration& config, const std::vector<std::string>& names,
                                const std::string& output_path) {
  PhotoSettings photos;
  const bool listed = std::any_of(names.begin(), names.end(), [](const std::string& name) {
    return name == "jpegPhoto" || name == "thumbnailPhoto";
  });
  photos.enabled = listed && config.ReadSwitch("AD", "EnableAdPhotoExporting");
  if (!photos.enabled) return photos;
  std::string directory = platform::NativePath(config.ReadSettingText("AD", "PhotoFileOutputPath"));
  if (directory.empty()) {
    const std::size_t slash = output_path.find_last_of('/');
    directory = slash == std::string::npos ? std::string() : output_path.substr(0, slash);
  }
  while (!directory.empty() && directory.back() == '/') directory.pop_back();
  photos.directory = directory + "/";
  photos.extension = config.ReadSettingText("AD", "PhotoFileExtension");
  // "png" names the same files as ".png".
  if (!photos.extension.empty() && !photos.extension.starts_with('.')) {
    photos.extension.insert(0, 1, '.');
  }
  return photos;
}

std::string WritePhotoFile(RunOutput& output, const PhotoSettings& settings,
                           std::string_view account, std::string_view bytes) {
  if (account.empty()) return std::string(MessageText(kMsgPhotoNeedsSamAccountName));
  std::string path = settings.directory + std::string(account) + settings.extension;
  const win::Status status = output.WritePhoto(path, bytes);
  if (status != win::ERROR_SUCCESS) {
    return FormatMessageId(kMsgPhotoFileOpen, {path}) + WindowsErrorText(status);
  }
  return path;
}

}  // namespace tabulon
