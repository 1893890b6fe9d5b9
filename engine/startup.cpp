#include "engine/startup.h"

#include <cstdlib>
#include <filesystem>

#include "engine/app_settings.h"
#include "engine/configuration.h"
#include "platform/ini_file_profile.h"
#include "platform/text.h"
#include "platform/utf8_path.h"

#ifndef TABULON_SOURCE_DATA_DIR
#define TABULON_SOURCE_DATA_DIR ""
#endif

namespace tabulon {
namespace fs = std::filesystem;
namespace {

constexpr std::size_t kConfigurationNameChars = 260;

void CopyIfAbsent(const fs::path& from, const fs::path& to, int& copied) {
  std::error_code ec;
  if (fs::exists(to, ec)) return;
  if (fs::copy_file(from, to, fs::copy_options::skip_existing, ec) && !ec) ++copied;
}

}  // namespace

DataDirectorySetup PrepareDataDirectory(const std::string& data_directory,
                                        const std::string& program_data_directory) {
  DataDirectorySetup setup;
  if (data_directory.empty()) return setup;
  std::error_code ec;
  const fs::path dir = platform::Utf8Path(data_directory);
  fs::create_directories(dir.parent_path(), ec);
  const bool created = fs::create_directory(dir, ec);
  if (!fs::is_directory(dir, ec)) return setup;
  setup.directory = data_directory;
  setup.first_start = created;
  if (!created || program_data_directory.empty()) return setup;

  const fs::path source = platform::Utf8Path(program_data_directory);
  for (const TemplateKindRow& kind : kTemplateKinds) {
    const std::string name = ShippedTemplateFile(kind);
    CopyIfAbsent(source / name, dir / name, setup.files_copied);
  }
  platform::IniFileProfile profile;
  for (const fs::directory_entry& entry : fs::directory_iterator(source, ec)) {
    if (!entry.is_regular_file(ec)) continue;
    const std::string name = platform::Utf8Name(entry.path().filename());
    if (!text::EndsWithNoCase(name, ".INI")) continue;
    const std::string configuration_name =
        profile.GetString(platform::Utf8Name(entry.path()), "General", "ConfigurationName", "",
                          kConfigurationNameChars);
    if (configuration_name.empty()) continue;
    CopyIfAbsent(entry.path(), dir / name, setup.files_copied);
  }
  return setup;
}

std::string ShippedTemplateFile(const TemplateKindRow& kind) {
  return text::ToLower(kind.default_file);
}

std::string ProgramDataDirectory(const std::string& program_path) {
  std::error_code ec;
  if (const char* env = std::getenv("TABULON_DATA_DIR"); env != nullptr && env[0] != '\0') {
    return env;
  }
  const fs::path program = platform::Utf8Path(program_path);
  if (program.has_parent_path()) {
    const fs::path installed = program.parent_path() / ".." / "share" / "tabulon";
    if (fs::is_directory(installed, ec))
      return platform::Utf8Name(fs::weakly_canonical(installed, ec));
  }
  return TABULON_SOURCE_DATA_DIR;
}

std::string HandoverObjectFile(const std::string& data_directory) {
  // The sibling tool names its hand-over directory in its own settings.
  const std::string settings = UserConfigDirectory();
  if (!settings.empty()) {
    const std::string korrel =
        platform::Utf8Name(platform::Utf8Path(settings).parent_path()) + "/Korrel/Quoll.ini";
    platform::IniFileProfile profile;
    const std::string dir =
        profile.GetString(korrel, "Advanced", "TabulonInterfaceDirectory", "", 256);
    if (!dir.empty()) return dir + "/QUOLL_TABULON.DAT";
  }
  if (data_directory.empty()) return "QUOLL_TABULON.DAT";
  return data_directory + "/QUOLL_TABULON.DAT";
}

}  // namespace tabulon
