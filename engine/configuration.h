#pragma once
// Reading and writing the keys of one configuration file through the
// profile functions, with the buffer sizes and integer parsing every reader
// of a configuration relies on.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile.h"

namespace tabulon {

inline constexpr std::size_t kIntegerBufferChars = 20;
inline constexpr std::size_t kTextBufferChars = 8192;

class Configuration {
 public:
  Configuration(platform::Profile& profile, std::string path)
      : profile_(&profile), path_(std::move(path)) {}

  const std::string& path() const { return path_; }

  std::int32_t ReadInt(std::string_view section, std::string_view key,
                       std::string_view default_text) const;
  std::int32_t ReadInt(std::string_view section, std::string_view key, std::int32_t def) const;
  std::string ReadText(std::string_view section, std::string_view key,
                       std::string_view default_text) const;
  void WriteInt(std::string_view section, std::string_view key, std::int32_t value) const;
  void WriteText(std::string_view section, std::string_view key, std::string_view value) const;
  // The same with the run default of the configuration key table, so that
  // every default has one place. A key missing from the table reads with an
  // empty default.
  std::int32_t ReadSetting(std::string_view section, std::string_view key) const;
  std::string ReadSettingText(std::string_view section, std::string_view key) const;
  // A setting as the table says the run takes it (SettingValue): a switch on
  // or off, a number within its range, a choice's unlisted value as the
  // choice it stands for.
  std::int32_t ReadTaken(std::string_view section, std::string_view key) const;
  bool ReadSwitch(std::string_view section, std::string_view key) const {
    return ReadTaken(section, key) != 0;
  }
  std::int32_t ReadNumber(std::string_view section, std::string_view key) const {
    return ReadTaken(section, key);
  }
  // A choice as its named value (engine/setting_values.h).
  template <typename Choice>
  Choice ReadChoice(std::string_view section, std::string_view key) const {
    return static_cast<Choice>(ReadTaken(section, key));
  }
  // Names of a template list key of section Templates, in written order.
  std::vector<std::string> ReadTemplateList(std::string_view list_key) const;

 private:
  platform::Profile* profile_;
  std::string path_;
};

// "\t", "\n" and "\r" become TAB, LF and CR, in that order.
std::string ExpandEscapes(std::string_view text);
// Splits a ";"-separated template list; empty names are skipped.
std::vector<std::string> SplitTemplateList(std::string_view text);
// Integer conversion of a profile value: at most 19 characters are seen.
std::int32_t ProfileInteger(std::string_view text);
// Leading-decimal conversion as the C runtime does it: values beyond the
// signed 32-bit range saturate instead of wrapping.
std::int32_t SaturatedInteger(std::string_view text);

}  // namespace tabulon
