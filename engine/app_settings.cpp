#include "engine/app_settings.h"

#include "engine/configuration.h"
#include "platform/text.h"
#include "platform/user_directories.h"

namespace tabulon {
namespace {

constexpr std::string_view kSection = "Settings";

struct SettingDefault {
  std::string_view key;
  std::string_view value;
};

constexpr SettingDefault kDefaults[] = {
    {"ConfigurationFileDirectory", ""}, {"ConfigurationFileExtension", ".INI"},
    {"ObjectFileDirectory", ""},        {"ObjectFileExtension", ".DAT"},
    {"LastConfiguration", ""},          {"LastOpenCmd", ""},
    {"LastDomainOuSearch", ""},
};

}  // namespace

std::string UserConfigDirectory() {
  const std::string base = platform::UserConfigHome();
  return base.empty() ? base : base + "/Wendrock";
}

std::string UserDataDirectory() {
  const std::string base = platform::UserDataHome();
  return base.empty() ? base : base + "/Wendrock/Tabulon";
}

std::string AppSettings::DefaultPath() {
  const std::string dir = UserConfigDirectory();
  return dir.empty() ? std::string() : dir + "/Tabulon.ini";
}

std::string_view AppSettingDefault(std::string_view key) {
  for (const SettingDefault& d : kDefaults) {
    if (text::EqualsNoCase(d.key, key)) return d.value;
  }
  return {};
}

std::string AppSettings::Get(std::string_view key) const {
  if (path_.empty()) return std::string(AppSettingDefault(key));
  return profile_->GetString(path_, kSection, key, AppSettingDefault(key), kTextBufferChars);
}

void AppSettings::Set(std::string_view key, std::string_view value) const {
  if (path_.empty()) return;
  profile_->WriteString(path_, kSection, key, value);
}

}  // namespace tabulon
