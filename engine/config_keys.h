#pragma once
// Every configuration key, with what a run and an editor need of it: its
// section and name, its kind, its two defaults (the one a run uses when the
// key is missing, and the one the configuration editor shows and so writes),
// the page that edits it, its label, one line of help, the range of a number
// and the values of a choice with their texts. The table is the one place
// for all of these: the run reads its defaults, limits and choice meanings
// here (engine/setting_limits.h, engine/setting_values.h), and an editor can
// be built from it alone. The rows are in engine/config_key_table.h; the
// per-type keys of the export type table are listed by PerTypeKeys().
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace tabulon {

enum class KeyKind {
  kSwitch,         // 0 off, 1 on
  kNumber,         // an integer the run takes into `range`
  kChoice,         // one of `choices`
  kFlags,          // the sum of some of `choices`' values
  kText,           // taken as written
  kDelimiterText,  // "\t", "\n" and "\r" stand for TAB, LF and CR
  kFileName,       // one file
  kFolder,         // one folder
  kListFile,       // a text file of names, one a line
  kColumnList,     // catalogue columns and symbols, comma-separated
  kTemplateList,   // template names, each followed by ';'
};

// Where an editor shows a key: the configuration property sheet's pages (0 to
// 14, the export types' page index), then the places that are not pages of
// the sheet.
enum class ConfigPage : std::uint32_t {
  kGeneral = 0,
  kOutput,
  kServices,
  kComputers,
  kShares,
  kRegistry,
  kDrives,
  kPrinters,
  kLocalGroups,
  kLocalUsers,
  kActiveDirectory,
  kSecurity,
  kWmi,
  kFilesAndDirectories,
  kOther,
  kPlatform,       // how a run reaches computers from a system other than Windows
  kProperties,     // the configuration's overview dialog
  kFileLocations,  // the file-locations dialog
};
inline constexpr std::uint32_t kSheetPageCount = 15;
inline constexpr std::uint32_t kConfigPageCount = 18;

// The title of a page or dialog.
std::string_view PageTitle(ConfigPage page);

struct KeyChoice {
  std::int32_t value;
  std::string_view text;
};

struct KeyRange {
  std::int32_t min;
  std::int32_t max;
};

struct ConfigKey {
  std::string_view section;
  std::string_view key;
  KeyKind kind;
  const char* run_default;     // null: the run does not read it
  const char* editor_default;  // null: the editor does not read it
  ConfigPage page;
  std::string_view label;
  std::string_view help;
  KeyRange range{0, 0};                  // kNumber
  std::span<const KeyChoice> choices{};  // kChoice, kFlags
  // kChoice: the value that any value not among the choices stands for;
  // none: such a value is used as read.
  std::optional<std::int32_t> others{};
  // kSwitch: only 1 is on (else every value but 0 is).
  bool on_is_one = false;
};

std::span<const ConfigKey> GeneralConfigKeys();
// Enable, output-file and columns keys of every export type with a section.
std::span<const ConfigKey> PerTypeKeys();
// The key of `section`/`key` among both lists, compared without regard to case.
std::optional<ConfigKey> FindConfigKey(std::string_view section, std::string_view key);

// The run default of a key of the table; empty for a key it does not list.
std::string_view RunDefault(std::string_view section, std::string_view key);

// What the run takes a value read for `key` as: a number kept within its
// range, a choice's unlisted value as the choice it stands for, a switch as 0
// or 1. Other kinds keep the value.
std::int32_t SettingValue(const ConfigKey& key, std::int32_t read);

}  // namespace tabulon
