#pragma once
// Where configured file names end up: names without a directory go to the
// default output directory or the per-user data directory, and date tokens
// (%YYYY%, %MM%, %Dow% ...) are replaced by the current local date.
#include <string>
#include <string_view>

#include "platform/locale.h"
#include "platform/time.h"

namespace tabulon {

struct FileLocations {
  std::string default_output_directory;
  std::string app_data_directory;  // empty when it could not be set
  std::string program_directory;
};

// Both '/' and '\' separate directories; the result uses '/'.
std::string ResolveFileName(std::string_view name, bool use_default_directory,
                            const FileLocations& locations, platform::Clock& clock,
                            platform::Locale& locale);
std::string ReplaceDateTokens(std::string name, const platform::SystemTime& now,
                              platform::Locale& locale);
bool HasDirectoryPart(std::string_view name);
std::string JoinPath(std::string_view directory, std::string_view name);

}  // namespace tabulon
