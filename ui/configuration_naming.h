#pragma once
// How the configuration dialogs name and find files: the "_COPY" names of
// Copy From, the extension a typed name gets, the folders configurations
// and object files are looked for in, and the lists of those folders.
#include <string>
#include <string_view>
#include <vector>

#include "engine/app_settings.h"
#include "platform/profile.h"

namespace tabulon::ui {

inline constexpr std::string_view kCopySuffix = "_COPY";
inline constexpr std::string_view kConfigurationExtension = ".INI";
inline constexpr std::string_view kObjectFileExtension = ".DAT";
// A configuration name is read into a buffer of this many characters.
inline constexpr std::size_t kConfigurationNameChars = 260;

// "site.A.INI" -> "site_COPY.A.INI": the suffix goes before the first '.'
// of the file's own name (a folder's dots do not count); the folder is
// dropped, as the copy is made in the search folder.
std::string CopyFileName(std::string_view path);
// `name` with `extension` appended when its file name has no '.'.
std::string WithDefaultExtension(std::string_view name, std::string_view extension);
// A name without a folder placed in `folder`; a name with one as it is.
std::string PlaceInFolder(std::string_view name, std::string_view folder);

// The configuration search folder (Settings ConfigurationFileDirectory) and
// the object-file search folder (ObjectFileDirectory); `data_folder` when
// the setting is empty.
std::string ConfigurationFolder(const AppSettings& settings, std::string_view data_folder);
std::string ObjectFileFolder(const AppSettings& settings, std::string_view data_folder);

struct ListedConfiguration {
  std::string name;  // General/ConfigurationName
  std::string path;
};
// The configurations of `folder`: files ending in `extension` that name
// themselves (a non-empty ConfigurationName), in file-name order.
std::vector<ListedConfiguration> ListConfigurations(platform::Profile& profile,
                                                    const std::string& folder,
                                                    std::string_view extension);
// The paths of the files of `folder` ending in `extension`, in name order.
std::vector<std::string> ListFilesWithExtension(const std::string& folder,
                                                std::string_view extension);

}  // namespace tabulon::ui
