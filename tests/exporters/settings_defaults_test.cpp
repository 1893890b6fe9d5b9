// Every setting the run and its exporter units read is a key of the
// configuration key table, read with the table's run default: a misspelt
// key or a second default would otherwise go unnoticed.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "engine/config_keys.h"
#include "engine/run_settings.h"
#include "exporters/units.h"

namespace tabulon::testing {
namespace {

// Answers every read with its default and remembers what was asked.
class RecordingProfile final : public platform::Profile {
 public:
  std::string GetString(std::string_view /*path*/, std::string_view section, std::string_view key,
                        std::string_view default_value, std::size_t /*buffer_chars*/) override {
    reads[std::string(section) + "/" + std::string(key)] = std::string(default_value);
    // Everything on, so that every dependent setting is read too.
    if (default_value == "0") return "1";
    return std::string(default_value);
  }
  bool WriteString(std::string_view, std::string_view, std::string_view,
                   std::string_view) override {
    return false;
  }
  bool DeleteSection(std::string_view, std::string_view) override { return false; }
  std::map<std::string, std::string> reads;
};

TEST(SettingsDefaults, EveryRunSettingIsReadWithTheTableDefault) {
  RecordingProfile profile;
  const Configuration config(profile, "run.ini");
  RunSettings settings;
  OutputSettings output;
  format::FormatSettings format;
  ReadRunSettings(config, settings, output, format);
  EnabledExports all;
  all.enabled.fill(true);
  for (const ExporterUnit& unit : StandardExporterUnits()) {
    // Each unit starts with its program-lifetime state, as a run gives it.
    const std::unique_ptr<ExporterProgramState> state =
        unit.make_program_state != nullptr ? unit.make_program_state() : nullptr;
    unit.start(config, all, state.get());
  }

  ASSERT_GT(profile.reads.size(), 40u);
  for (const auto& [name, default_value] : profile.reads) {
    const std::size_t slash = name.find('/');
    const std::optional<ConfigKey> key =
        FindConfigKey(name.substr(0, slash), name.substr(slash + 1));
    if (!key) {
      ADD_FAILURE() << name << " is not in the key table";
      continue;
    }
    ASSERT_NE(key->run_default, nullptr) << name << " is read by the run but has no run default";
    EXPECT_EQ(default_value, key->run_default) << name;
  }
}

}  // namespace
}  // namespace tabulon::testing
