// The configuration key table against what a run really reads, and against
// the profile: every key a whole run reads is in the table and read with the
// table's run default, every key the table gives a run default is read, and
// every value an editor can offer comes back from the file as it was written.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "engine/config_keys.h"
#include "engine/configuration.h"
#include "platform/text.h"
#include "support/e2e.h"

namespace tabulon::testing {
namespace {

// Passes every call on and remembers the reads of one file, with the
// default each was given.
class RecordingProfile final : public platform::Profile {
 public:
  RecordingProfile(platform::Profile& inner, std::string path)
      : inner_(&inner), path_(std::move(path)) {}
  std::string GetString(std::string_view path, std::string_view section, std::string_view key,
                        std::string_view default_value, std::size_t buffer_chars) override {
    if (path == path_) {
      reads.emplace(std::string(section) + "/" + std::string(key), std::string(default_value));
    }
    return inner_->GetString(path, section, key, default_value, buffer_chars);
  }
  bool WriteString(std::string_view path, std::string_view section, std::string_view key,
                   std::string_view value) override {
    return inner_->WriteString(path, section, key, value);
  }
  bool DeleteSection(std::string_view path, std::string_view section) override {
    return inner_->DeleteSection(path, section);
  }
  std::multimap<std::string, std::string> reads;

 private:
  platform::Profile* inner_;
  std::string path_;
};

std::string Name(const ConfigKey& k) {
  return std::string(k.section) + "/" + std::string(k.key);
}

std::vector<ConfigKey> AllKeys() {
  std::vector<ConfigKey> keys(GeneralConfigKeys().begin(), GeneralConfigKeys().end());
  keys.insert(keys.end(), PerTypeKeys().begin(), PerTypeKeys().end());
  return keys;
}

// A configuration with every switch on, every list file and every kind of
// template present, so that the run reaches every setting it can read.
void ConfigureEverything(EndToEnd& run) {
  std::string ini;
  std::map<std::string, std::string, std::less<>> sections;
  for (const ConfigKey& k : AllKeys()) {
    std::string& s = sections[std::string(k.section)];
    if (k.kind == KeyKind::kSwitch) s += std::string(k.key) + "=1\n";
    if (k.kind == KeyKind::kListFile)
      s += std::string(k.key) + "=" + run.dir().File("list.txt") + "\n";
  }
  sections["Computers"] += "PingTimeout=1\n";
  sections["Templates"] +=
      "RegistryTemplates=R;\nWmiTemplates=W;\nFileTemplates=F;\n"
      "DirectoryTemplates=Q;\n";
  for (const auto& [section, keys] : sections) ini += "[" + section + "]\n" + keys;
  run.dir().Write("list.txt", "nobody\r\n");
  run.dir().Write("RegTemplates.CFG", "[R]\nOutputFileName=r.txt\nOutputKeys=HKLM\\SOFTWARE\n");
  run.dir().Write("WmiQueries.CFG",
                  "[W]\nOutputFileName=w.txt\nObjectClass=Win32_BIOS\n"
                  "OutputColumns=Name\n");
  run.dir().Write("FileTemplates.CFG", "[F]\nOutputFileName=f.txt\nPaths=C:\\\n");
  run.dir().Write("DirectoryQueries.CFG",
                  "[Q]\nOutputFileName=q.txt\nAttributes=samaccountname,thumbnailPhoto\n"
                  "Filter=1\nGetLogonInformation=1\n");
  run.SetConfiguration(ini);
  run.dir().Write("corp.ldif",
                  "dn: DC=corp,DC=test\ndc: corp\n\n"
                  "dn: CN=Ann,DC=corp,DC=test\nobjectClass: user\ncn: Ann\n"
                  "sAMAccountName: ann\n\n");
  run.SetEstate(R"({"domains": [{"name": "CORP", "dns_name": "corp.test", "controller": "DC1",
      "directory": {"ldif": ")" +
                run.dir().File("corp.ldif") + R"("}}],
      "computers": [{"name": "PC1"}, {"name": "DC1", "domain": "CORP"}]})");
  // A computer and a directory object: the photo settings are read at the
  // directory query's search.
  run.SetObjects({{24, "PC1", "\\\\PC1"}, {102, "Ann", "LDAP://CN=Ann,DC=corp,DC=test"}});
}

TEST(ConfigKeys, AWholeRunReadsOnlyTableKeysWithTheirRunDefaults) {
  EndToEnd run;
  ConfigureEverything(run);
  RecordingProfile profile(*run.platform().profile, run.dir().File("cfg.ini"));
  run.platform().profile = &profile;
  run.Run();

  std::set<std::string> read;
  for (const auto& [name, default_value] : profile.reads) {
    const std::size_t slash = name.find('/');
    const std::optional<ConfigKey> key =
        FindConfigKey(name.substr(0, slash), name.substr(slash + 1));
    if (!key) {
      ADD_FAILURE() << name << " is read by the run but is not in the key table";
      continue;
    }
    read.insert(Name(*key));
    if (key->run_default == nullptr) {
      ADD_FAILURE() << name << " is read by the run but has no run default";
      continue;
    }
    EXPECT_EQ(default_value, key->run_default) << name;
  }
  // The program reads these before the run, when it chooses its backends.
  const std::set<std::string> composition = {"Platform/Estate", "Platform/Credentials",
                                             "Platform/LocalShares", "Platform/Kerberos"};
  for (const ConfigKey& k : AllKeys()) {
    if (k.run_default == nullptr || composition.contains(Name(k))) continue;
    EXPECT_TRUE(read.contains(Name(k))) << Name(k) << " has a run default but no run reads it";
  }
}

// Values an editor writes and what the run then takes: each within range
// and each choice as written; beyond the range and beyond the choices, what
// the run has always made of them.
TEST(ConfigKeys, EveryChoiceAndRangeRoundTripsThroughTheProfile) {
  ScratchDir dir;
  platform::IniFileProfile profile;
  const Configuration config(profile, dir.File("keys.ini"));
  for (const ConfigKey& k : AllKeys()) {
    SCOPED_TRACE(Name(k));
    const auto written = [&](std::int32_t value) {
      config.WriteInt(k.section, k.key, value);
      return config.ReadTaken(k.section, k.key);
    };
    switch (k.kind) {
      case KeyKind::kSwitch:
        EXPECT_EQ(written(0), 0);
        EXPECT_EQ(written(1), 1);
        EXPECT_EQ(written(2), k.on_is_one ? 0 : 1);
        break;
      case KeyKind::kNumber:
        for (std::int32_t v : {k.range.min, k.range.max, (k.range.min + k.range.max) / 2}) {
          EXPECT_EQ(written(v), v);
        }
        EXPECT_EQ(written(k.range.min - 1), k.range.min);
        EXPECT_EQ(written(k.range.max + 1), k.range.max);
        break;
      case KeyKind::kChoice: {
        std::int32_t beyond = 0;
        for (const KeyChoice& c : k.choices) {
          EXPECT_EQ(written(c.value), c.value) << c.text;
          beyond = std::max(beyond, c.value + 1);
        }
        EXPECT_EQ(written(beyond), k.others.value_or(beyond));
        EXPECT_EQ(written(-1), k.others.value_or(-1));
        break;
      }
      case KeyKind::kFlags: {
        std::int32_t all = 0;
        for (const KeyChoice& c : k.choices) {
          EXPECT_EQ(written(c.value), c.value) << c.text;
          all |= c.value;
        }
        EXPECT_EQ(written(all), all);
        break;
      }
      default: {
        const std::string value = k.kind == KeyKind::kDelimiterText ? "\\r\\n" : "a;b\\c d";
        config.WriteText(k.section, k.key, value);
        EXPECT_EQ(config.ReadSettingText(k.section, k.key), value);
        if (k.kind == KeyKind::kDelimiterText) {
          EXPECT_EQ(ExpandEscapes(config.ReadSettingText(k.section, k.key)), "\r\n");
        }
      }
    }
  }
}

// What an editor relies on: one row per key, each with a label, one line of
// help and a page; defaults that are values the key can take.
TEST(ConfigKeys, EveryKeyCanBeShownAndItsDefaultsAreItsValues) {
  std::set<std::string> names;
  for (const ConfigKey& k : AllKeys()) {
    SCOPED_TRACE(Name(k));
    EXPECT_TRUE(names.insert(text::ToLower(Name(k))).second) << "listed twice";
    EXPECT_FALSE(k.label.empty());
    EXPECT_FALSE(k.help.empty());
    EXPECT_EQ(k.help.find('\n'), std::string_view::npos);
    EXPECT_FALSE(PageTitle(k.page).empty());
    for (const char* d : {k.run_default, k.editor_default}) {
      if (d == nullptr) continue;
      const std::int32_t v = SaturatedInteger(d);
      switch (k.kind) {
        case KeyKind::kSwitch:
          EXPECT_TRUE(std::string_view(d) == "0" || std::string_view(d) == "1") << d;
          break;
        case KeyKind::kNumber:
          EXPECT_TRUE(v >= k.range.min && v <= k.range.max) << d;
          break;
        case KeyKind::kChoice:
          EXPECT_TRUE(std::any_of(k.choices.begin(), k.choices.end(), [&](const KeyChoice& c) {
            return c.value == v;
          })) << d;
          break;
        default:
          break;
      }
    }
    if (k.kind == KeyKind::kChoice || k.kind == KeyKind::kFlags) {
      std::set<std::int32_t> values;
      for (const KeyChoice& c : k.choices) {
        EXPECT_TRUE(values.insert(c.value).second) << c.text;
        EXPECT_FALSE(c.text.empty());
      }
      EXPECT_GE(values.size(), 2u);
    }
  }
}

}  // namespace
}  // namespace tabulon::testing
