#include "engine/configuration.h"

#include <limits>

#include "engine/config_keys.h"
#include "platform/text.h"

namespace tabulon {

std::int32_t ProfileInteger(std::string_view text) {
  // The value went through a 20-character buffer before conversion.
  return SaturatedInteger(text::TruncateCodePoints(text, kIntegerBufferChars - 1));
}

std::int32_t SaturatedInteger(std::string_view text) {
  const long long v = text::ParseLeadingInteger(text);
  if (v > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (v < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(v);
}

std::int32_t Configuration::ReadInt(std::string_view section, std::string_view key,
                                    std::string_view default_text) const {
  return ProfileInteger(
      profile_->GetString(path_, section, key, default_text, kIntegerBufferChars));
}

std::int32_t Configuration::ReadInt(std::string_view section, std::string_view key,
                                    std::int32_t def) const {
  return ReadInt(section, key, std::to_string(def));
}

std::string Configuration::ReadText(std::string_view section, std::string_view key,
                                    std::string_view default_text) const {
  return profile_->GetString(path_, section, key, default_text, kTextBufferChars);
}

std::int32_t Configuration::ReadSetting(std::string_view section, std::string_view key) const {
  return ReadInt(section, key, RunDefault(section, key));
}

std::int32_t Configuration::ReadTaken(std::string_view section, std::string_view key) const {
  const std::optional<ConfigKey> entry = FindConfigKey(section, key);
  if (!entry) return ReadInt(section, key, "");
  const std::int32_t read =
      ReadInt(section, key, entry->run_default != nullptr ? entry->run_default : "");
  return SettingValue(*entry, read);
}

std::string Configuration::ReadSettingText(std::string_view section, std::string_view key) const {
  return ReadText(section, key, RunDefault(section, key));
}

void Configuration::WriteInt(std::string_view section, std::string_view key,
                             std::int32_t value) const {
  profile_->WriteString(path_, section, key, std::to_string(value));
}

void Configuration::WriteText(std::string_view section, std::string_view key,
                              std::string_view value) const {
  profile_->WriteString(path_, section, key, value);
}

std::vector<std::string> Configuration::ReadTemplateList(std::string_view list_key) const {
  return SplitTemplateList(ReadText("Templates", list_key, ""));
}

std::vector<std::string> SplitTemplateList(std::string_view text) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(';', start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) names.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

std::string ExpandEscapes(std::string_view text) {
  std::string out(text);
  auto replace_all = [&out](std::string_view from, char to) {
    std::string next;
    next.reserve(out.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
      if (out.compare(i, from.size(), from) == 0) {
        next.push_back(to);
        i += from.size() - 1;
      } else {
        next.push_back(out[i]);
      }
    }
    out = std::move(next);
  };
  replace_all("\\t", '\t');
  replace_all("\\n", '\n');
  replace_all("\\r", '\r');
  return out;
}

}  // namespace tabulon
