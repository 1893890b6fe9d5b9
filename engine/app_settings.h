#pragma once
// Per-user preferences of the application (section Settings), kept apart from
// any configuration file: an INI file under $XDG_CONFIG_HOME/Wendrock.
#include <string>
#include <string_view>

#include "platform/profile.h"

namespace tabulon {

// The directories the program keeps per-user files in. Empty when neither the
// XDG variable nor HOME is set.
std::string UserConfigDirectory();  // $XDG_CONFIG_HOME/Wendrock
std::string UserDataDirectory();    // $XDG_DATA_HOME/Wendrock/Tabulon

class AppSettings {
 public:
  AppSettings(platform::Profile& profile, std::string path)
      : profile_(&profile), path_(std::move(path)) {}
  // The store at its usual place.
  static std::string DefaultPath();

  const std::string& path() const { return path_; }
  // The value of a Settings key, or its default when the key is missing.
  std::string Get(std::string_view key) const;
  void Set(std::string_view key, std::string_view value) const;

 private:
  platform::Profile* profile_;
  std::string path_;
};

// Defaults of the keys of the Settings section; empty for unknown keys.
std::string_view AppSettingDefault(std::string_view key);

}  // namespace tabulon
